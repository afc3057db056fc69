#include "RegexConfig.h"

namespace tamarin {

// The option values are part of what a user may compare against other tools;
// make sure the library still carries the ones we document.
static_assert(boost::regex::perl == 0x0, "perl syntax option changed");
static_assert(boost::regex::normal == boost::regex::perl, "normal is perl");
static_assert(boost::regex::basic == 0x210001, "basic syntax option changed");
static_assert(boost::regex::extended == 0x210300, "extended syntax option changed");
static_assert(boost::regex::icase == 0x100000, "icase option changed");
static_assert((boost::regex::basic | boost::regex::icase) == 0x310001, "basic|icase changed");
static_assert((boost::regex::extended | boost::regex::icase) == 0x310300, "extended|icase changed");

Syntax SyntaxFromIndex(std::int32_t syntaxIndex)
{
    switch (syntaxIndex) {
    case 1: return Syntax::Basic;
    case 2: return Syntax::Extended;
    default: return Syntax::Perl;
    }
}

boost::regex::flag_type SyntaxFlags(Syntax syntax, bool caseSensitive)
{
    boost::regex::flag_type flags = boost::regex::perl;
    switch (syntax) {
    case Syntax::Perl: flags = boost::regex::perl; break;
    case Syntax::Basic: flags = boost::regex::basic; break;
    case Syntax::Extended: flags = boost::regex::extended; break;
    }
    if (!caseSensitive)
        flags |= boost::regex::icase;
    return flags;
}

} // namespace tamarin
