#include "svg_chart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "html_text.h"

namespace site {

namespace {

// Geometry, in pixels.
constexpr int kLabelWidth = 130;  // weapon names, right-aligned
constexpr int kBarSpan = 200;     // a full bar
constexpr int kValueSpace = 70;   // the figure after a bar
constexpr int kRowHeight = 22;
constexpr int kBarHeight = 14;
constexpr int kTop = 26;          // the panel titles
constexpr int kKillsX = kLabelWidth + 10;
constexpr int kAccuracyX = kKillsX + kBarSpan + kValueSpace;
constexpr int kWidth = kAccuracyX + kBarSpan + kValueSpace;

struct ChartRow {
  const WeaponInfo* weapon;
  std::int64_t kills;
  std::optional<double> accuracy;
};

std::vector<ChartRow> chartRows(const PlayerRow& p) {
  std::vector<ChartRow> rows;
  for (std::size_t w = 0; w < kWeapons; ++w) {
    const WeaponInfo& info = kWeaponTable[w];
    std::optional<double> accuracy;
    if (info.accuracy >= 0) accuracy = accuracyPercent(p.accuracy[static_cast<std::size_t>(info.accuracy)]);
    if (p.kills_by_weapon[w] > 0 || accuracy) rows.push_back({&info, p.kills_by_weapon[w], accuracy});
  }
  return rows;
}

// Text colour and font come from season.css.
void appendText(std::string& out, int x, int y, const char* anchor, const std::string& text) {
  out += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" text-anchor=\"" + anchor + "\">";
  appendEscaped(out, text);
  out += "</text>\n";
}

// The chart's opening tag: `classes` after "ksChart", `label` for screen readers.
void beginSvg(std::string& out, const char* classes, int width, int height, const std::string& label) {
  out += std::string("<svg class=\"ksChart") + (*classes != '\0' ? " " : "") + classes +
         "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) +
         "\" role=\"img\" aria-label=\"";
  appendEscaped(out, label);
  out += "\">\n";
}

// A scale line across the chart at `y`, styled by `line_class`.
void appendScaleLine(std::string& out, int from_x, int to_x, int y, const char* line_class) {
  out += "<line x1=\"" + std::to_string(from_x) + "\" y1=\"" + std::to_string(y) + "\" x2=\"" + std::to_string(to_x) +
         "\" y2=\"" + std::to_string(y) + "\" class=\"" + line_class + "\"></line>\n";
}

void appendBar(std::string& out, int x, int y, int width, const char* colour, const std::string& tip) {
  out += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(width) +
         "\" height=\"" + std::to_string(kBarHeight) + "\" rx=\"2\" fill=\"" + colour + "\"><title>";
  appendEscaped(out, tip);
  out += "</title></rect>\n";
}

// Bar length for `value` of `full`; a non-zero value always shows.
int barWidth(double value, double full) {
  if (full <= 0 || value <= 0) return 0;
  return std::clamp(static_cast<int>(value / full * kBarSpan + 0.5), 1, kBarSpan);
}

}  // namespace

void appendWeaponChart(std::string& out, const PlayerRow& p) {
  std::vector<ChartRow> rows = chartRows(p);
  if (rows.empty()) {
    out += "<p class=\"ksNote\">No kills and no shots recorded yet.</p>\n";
    return;
  }
  std::int64_t most = 0;
  for (const ChartRow& r : rows) most = std::max(most, r.kills);
  const int height = kTop + static_cast<int>(rows.size()) * kRowHeight + 4;
  beginSvg(out, "", kWidth, height, "kills and accuracy by weapon");
  out += "<g class=\"ksChartTitle\">";
  appendText(out, kKillsX, 16, "start", "kills");
  appendText(out, kAccuracyX, 16, "start", "accuracy");
  out += "</g>\n";
  int y = kTop;
  for (const ChartRow& r : rows) {
    const std::string name = r.weapon->name;
    appendText(out, kLabelWidth, y + 12, "end", name);
    int kills = barWidth(static_cast<double>(r.kills), static_cast<double>(most));
    appendBar(out, kKillsX, y, kills, r.weapon->colour, name + ": " + std::to_string(r.kills) + " kills");
    appendText(out, kKillsX + kills + 5, y + 12, "start", std::to_string(r.kills));
    if (r.accuracy) {
      out += "<rect x=\"" + std::to_string(kAccuracyX) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
             std::to_string(kBarSpan) + "\" height=\"" + std::to_string(kBarHeight) +
             "\" rx=\"2\" class=\"ksTrack\"></rect>\n";
      int accuracy = barWidth(*r.accuracy, 100.0);
      appendBar(out, kAccuracyX, y, accuracy, r.weapon->colour, name + ": " + percent(r.accuracy) + " accuracy");
      appendText(out, kAccuracyX + kBarSpan + 5, y + 12, "start", percent(r.accuracy));
    }
    y += kRowHeight;
  }
  out += "</svg>\n";
}

namespace {

constexpr int kFormBar = 10;      // width of a game's bar
constexpr int kFormGap = 2;
constexpr int kFormHeight = 120;  // the bars' span, for kFormTop kills per death
constexpr double kFormTop = 3.0;
constexpr int kFormLeft = 30;     // the scale's labels
constexpr int kFormPad = 8;

const char* resultColour(const std::string& result) {
  if (result == "won") return "#3dff3d";
  if (result == "lost") return "#ff3a2a";
  return "#ffe600";
}

int formY(double kd) { return kFormPad + kFormHeight - static_cast<int>(std::min(kd, kFormTop) / kFormTop * kFormHeight + 0.5); }

}  // namespace

void appendFormChart(std::string& out, const std::vector<PlayerGame>& games, std::size_t count) {
  const std::size_t n = std::min(count, games.size());
  if (n == 0) {
    out += "<p class=\"ksNote\">No recorded games.</p>\n";
    return;
  }
  const int width = kFormLeft + static_cast<int>(n) * (kFormBar + kFormGap) + kFormPad;
  const int height = kFormPad * 2 + kFormHeight + 4;
  beginSvg(out, "ksForm", width, height, "kills per death in the last " + std::to_string(n) + " games");
  for (double mark : {0.0, 1.0, 2.0, 3.0}) {
    const int y = formY(mark);
    appendText(out, kFormLeft - 6, y + 4, "end", fixed(mark, 0));
    appendScaleLine(out, kFormLeft, width - kFormPad, y, mark == 1.0 ? "ksEven" : "ksGrid");
  }
  for (std::size_t i = 0; i < n; ++i) {
    const PlayerGame& g = games[n - 1 - i];  // oldest of the n first
    const double kd = static_cast<double>(g.kills) / static_cast<double>(std::max<std::int64_t>(g.deaths, 1));
    const int top = formY(kd);
    const int bar_height = std::max(1, formY(0) - top);
    const int x = kFormLeft + static_cast<int>(i) * (kFormBar + kFormGap) + 1;
    out += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(formY(0) - bar_height) + "\" width=\"" +
           std::to_string(kFormBar) + "\" height=\"" + std::to_string(bar_height) + "\" fill=\"" +
           resultColour(g.result) + "\"><title>";
    appendEscaped(out, g.listed + " " + (g.map.empty() ? std::string("no map") : g.map) + ": " +
                           (g.result.empty() ? std::string("-") : g.result) + ", " + std::to_string(g.frags) +
                           " frags, K/D " + fixed(kd, 2));
    out += "</title></rect>\n";
  }
  out += "</svg>\n<p class=\"ksNote\"><span style=\"color:#3dff3d\">&#9632;</span> won "
         "<span style=\"color:#ffe600\">&#9632;</span> draw <span style=\"color:#ff3a2a\">&#9632;</span> lost; "
         "a bar's height is the game's kills per death, oldest game left.</p>\n";
}

void appendRatingChart(std::string& out, const std::vector<float>& history, std::size_t count,
                       const std::string& label) {
  constexpr int kLeft = 44, kPad = 8, kHeight = 90, kStep = 4;
  const std::size_t n = std::min(count, history.size());
  if (n < 2) return;  // a line needs two games
  const auto first = history.end() - static_cast<std::ptrdiff_t>(n);
  const auto [low_at, high_at] = std::minmax_element(first, history.end());
  const double low = std::floor(*low_at / 10.0) * 10.0;
  const double high = std::max(low + 10.0, std::ceil(*high_at / 10.0) * 10.0);
  auto y = [&](double rating) { return kPad + static_cast<int>(std::lround((high - rating) / (high - low) * kHeight)); };
  const int width = kLeft + static_cast<int>(n - 1) * kStep + kPad;
  const int height = kHeight + 2 * kPad;
  beginSvg(out, "ksRatingChart", width, height, label);
  for (double mark : {low, high}) {
    appendText(out, kLeft - 6, y(mark) + 4, "end", fixed(mark, 0));
    appendScaleLine(out, kLeft, width - kPad, y(mark), "ksGrid");
  }
  out += "<polyline class=\"ksRatingLine\" fill=\"none\" points=\"";
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) out += ' ';
    out += std::to_string(kLeft + static_cast<int>(i) * kStep) + "," +
           std::to_string(y(first[static_cast<std::ptrdiff_t>(i)]));
  }
  out += "\"></polyline>\n</svg>\n";
}

}  // namespace site
