#pragma once
// Which release of the regular-expression library the engine is built with,
// for those who name it (the settings dialog's documentation link) without
// including the library themselves.

namespace tamarin {

struct RegexLibraryRelease {
    int major;
    int minor;
    int patch;
};

RegexLibraryRelease RegexLibraryVersion();

} // namespace tamarin
