#include "RegexLibrary.h"

// Standalone, the library's headers carry no release number; the build gives
// it (cmake/RegexLibrary.cmake).
#ifndef TAMARIN_REGEX_RELEASE_NUMBER
#include <boost/version.hpp>
#define TAMARIN_REGEX_RELEASE_NUMBER BOOST_VERSION
#endif

namespace tamarin {

RegexLibraryRelease RegexLibraryVersion()
{
    constexpr int number = TAMARIN_REGEX_RELEASE_NUMBER;
    return {number / 100000, number / 100 % 1000, number % 100};
}

} // namespace tamarin
