// Writing a whole file so that a crash or a full disk never leaves it half written: the text
// goes to FILE.saving, is synced, and then takes the file's place by rename.
#pragma once

#include <string>

namespace platform {

// False with "cannot create 'FILE.saving': reason", "cannot write 'FILE.saving': reason" or
// "cannot replace 'FILE': reason" in *error; the old file is then untouched and no .saving file
// is left behind.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error);

}  // namespace platform
