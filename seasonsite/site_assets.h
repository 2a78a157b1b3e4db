// The season pages' own stylesheet and script, built into the program from
// seasonsite/assets/ so that a site is never written without them, nor with
// ones of another version.
#pragma once

#include <string_view>

namespace site {

std::string_view seasonStylesheet();  // season.css
std::string_view seasonScript();      // season.js

}  // namespace site
