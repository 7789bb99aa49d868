// The player's words for a failed save.
#include "ui/save_failure.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/i18n/language.hpp"

using platform::Tr;

std::string SaveFailureText(const std::string& file, const platform::SaveError& error) {
    std::string why;
    switch (error.code) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG: why = Tr("the disk is full"); break;
        case EACCES:
        case EPERM:
        case EROFS: why = Tr("the folder may not be written to"); break;
        case EWOULDBLOCK: why = Tr("another game was saving it"); break;
        case EEXIST: why = Tr("a damaged file there could not be moved aside"); break;
        case 0: why = error.message; break;
        default: why = std::strerror(error.code); break;
    }
    char text[1024];
    std::snprintf(text, sizeof text, Tr("Not saved in %s: %s."), file.c_str(), why.c_str());
    return text;
}
