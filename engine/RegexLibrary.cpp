#include "RegexLibrary.h"

#include <boost/version.hpp>

namespace tamarin {

RegexLibraryRelease RegexLibraryVersion()
{
    return {BOOST_VERSION / 100000, BOOST_VERSION / 100 % 1000, BOOST_VERSION % 100};
}

} // namespace tamarin
