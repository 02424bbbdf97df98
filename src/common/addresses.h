// The maker's addresses: the help page that ships with the program, the web page and the
// e-mail address. Listed in the README; nothing else in the program spells them.
#pragma once

namespace corvane {

// The French help page, installed beside the program so that help works offline.
inline constexpr const char* kHelpFileName = "aide.html";
inline constexpr const char* kMakerWebPage = "http://www.corvane.example/";
inline constexpr const char* kMakerEmail = "auteur@corvane.example";

}  // namespace corvane
