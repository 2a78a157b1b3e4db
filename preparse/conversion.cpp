#include "conversion.h"

#include "end_of_games.h"
#include "line_reader.h"
#include "preparser.h"

namespace preparse {

Converted convertInput(const LogInput& input, Output& out, bool carry_over) {
  const EndOfGames end = findEndOfGames(input, !carry_over);
  if (end.read_failed) return {0, true};
  LineReader reader(input, 0, end.offset);
  Preparser preparser(reader, out);
  preparser.convert();
  return {end.offset, reader.failed()};
}

ConvertedBytes convertBytes(std::string_view previous_tail, std::string_view source, bool carry_over) {
  // One part in memory is read in place.
  std::string joined;
  if (carry_over && !previous_tail.empty()) {
    joined.reserve(previous_tail.size() + source.size());
    joined.append(previous_tail).append(source);
    source = joined;
  }
  LogInput input;
  input.addBytes(source);
  ConvertedBytes result;
  // A target is mostly smaller than its input: one allocation, no regrowth.
  result.target.reserve(source.size());
  Output out(result.target);
  const Converted converted = convertInput(input, out, carry_over);
  out.flush();
  if (carry_over) {
    result.tail.resize(static_cast<std::size_t>(input.size() - converted.tail_start));
    input.read(converted.tail_start, result.tail.data(), result.tail.size());
  }
  return result;
}

}  // namespace preparse
