# Which Boost.Regex the engine is built with, as the target tamarin::regex.
#
# By default the Boost that find_package finds, any release from 1.81 (the
# first without the compile hang that 1.74 has on some patterns). With
# TAMARIN_REGEX_INCLUDE_DIR set, the Boost.Regex headers in that directory
# instead, in the library's standalone mode (no other Boost header and no
# BoostConfig.cmake, whose -isystem /usr/include would pull the build
# machine's C library into a cross build).
#
# Either way the release is checked at configure time: the engine's work
# budget specializes members of the library's matcher and sets its block
# macros (engine/WorkBudget.cpp, engine/private/RegexConfig.h), and a release
# that changed them must stop the build here, not deep in it, and never build
# without the budget.

set(TAMARIN_REGEX_INCLUDE_DIR "" CACHE PATH
  "Boost.Regex headers (the directory holding boost/regex.hpp) to build with in standalone mode; empty: find_package(Boost)")
set(TAMARIN_REGEX_VERSION "" CACHE STRING
  "The release of the headers in TAMARIN_REGEX_INCLUDE_DIR (such as 1.84.0) when they have no boost/version.hpp")
set(TAMARIN_REGEX_MINIMUM_VERSION 1.81.0)

add_library(tamarin_regex INTERFACE)
add_library(tamarin::regex ALIAS tamarin_regex)

# The release as BOOST_VERSION writes it (1.84.0 is 108400).
function(tamarin_regex_version_number version out)
  string(REGEX MATCH "^([0-9]+)\\.([0-9]+)(\\.([0-9]+))?$" valid "${version}")
  if(NOT valid)
    message(FATAL_ERROR "TAMARIN_REGEX_VERSION must be a release number such as 1.84.0, not \"${version}\"")
  endif()
  set(patch 0)
  if(CMAKE_MATCH_4)
    set(patch ${CMAKE_MATCH_4})
  endif()
  math(EXPR number "${CMAKE_MATCH_1} * 100000 + ${CMAKE_MATCH_2} * 100 + ${patch}")
  set(${out} ${number} PARENT_SCOPE)
endfunction()

if(TAMARIN_REGEX_INCLUDE_DIR)
  set(regex_dir "${TAMARIN_REGEX_INCLUDE_DIR}")
  if(NOT EXISTS "${regex_dir}/boost/regex.hpp")
    message(FATAL_ERROR "TAMARIN_REGEX_INCLUDE_DIR (${regex_dir}) has no boost/regex.hpp")
  endif()
  # Boost's own release number when the headers came with it, else the one given.
  if(EXISTS "${regex_dir}/boost/version.hpp")
    file(STRINGS "${regex_dir}/boost/version.hpp" version_line REGEX "^#define BOOST_VERSION [0-9]+")
    string(REGEX REPLACE "^#define BOOST_VERSION ([0-9]+).*" "\\1" number "${version_line}")
    math(EXPR major "${number} / 100000")
    math(EXPR minor "${number} / 100 % 1000")
    math(EXPR patch "${number} % 100")
    set(TAMARIN_REGEX_RELEASE "${major}.${minor}.${patch}")
  elseif(TAMARIN_REGEX_VERSION)
    set(TAMARIN_REGEX_RELEASE "${TAMARIN_REGEX_VERSION}")
  else()
    message(FATAL_ERROR
      "The Boost.Regex headers in ${regex_dir} do not say their release (no boost/version.hpp): "
      "give it with -DTAMARIN_REGEX_VERSION=<release>, such as 1.84.0")
  endif()
  tamarin_regex_version_number("${TAMARIN_REGEX_RELEASE}" release_number)
  target_include_directories(tamarin_regex SYSTEM INTERFACE "${regex_dir}")
  # The release for RegexLibraryVersion(): standalone, there is no boost/version.hpp to read.
  target_compile_definitions(tamarin_regex INTERFACE BOOST_REGEX_STANDALONE
                             TAMARIN_REGEX_RELEASE_NUMBER=${release_number})
  set(regex_origin "in ${regex_dir}, standalone")
  set(regex_check_flags "-isystem;${regex_dir};-DBOOST_REGEX_STANDALONE")
  set(regex_check_libraries "")
else()
  find_package(Boost ${TAMARIN_REGEX_MINIMUM_VERSION} QUIET CONFIG COMPONENTS headers)
  if(NOT Boost_FOUND)
    # Which one is there, to say why it will not do.
    find_package(Boost QUIET CONFIG COMPONENTS headers)
    if(Boost_FOUND)
      message(FATAL_ERROR
        "Boost ${Boost_VERSION} (${Boost_DIR}) is older than Boost.Regex ${TAMARIN_REGEX_MINIMUM_VERSION}, "
        "the first release the engine builds with: install Boost ${TAMARIN_REGEX_MINIMUM_VERSION} or later, "
        "or set TAMARIN_REGEX_INCLUDE_DIR to newer Boost.Regex headers")
    endif()
    message(FATAL_ERROR
      "Boost (${TAMARIN_REGEX_MINIMUM_VERSION} or later, its CMake configuration and Boost.Regex's headers) "
      "was not found: install it (README.md names the packages), or set TAMARIN_REGEX_INCLUDE_DIR "
      "to a directory of Boost.Regex headers")
  endif()
  set(TAMARIN_REGEX_RELEASE "${Boost_VERSION_MAJOR}.${Boost_VERSION_MINOR}.${Boost_VERSION_PATCH}")
  target_link_libraries(tamarin_regex INTERFACE Boost::headers)
  set(regex_origin "Boost's CMake configuration in ${Boost_DIR}")
  set(regex_check_flags "")
  set(regex_check_libraries Boost::headers)
endif()

if(TAMARIN_REGEX_RELEASE VERSION_LESS TAMARIN_REGEX_MINIMUM_VERSION)
  message(FATAL_ERROR
    "Boost.Regex ${TAMARIN_REGEX_RELEASE} (${regex_origin}) is older than ${TAMARIN_REGEX_MINIMUM_VERSION}, "
    "the first release the engine is built and tested with (1.74 hangs compiling some patterns)")
endif()

# The check compiles, against these headers:
# - the engine's own specializations of the matcher's and the compiler's
#   members (WorkBudget.cpp and PatternCompile.cpp, through RegexConfig.h) and
#   a search with the engine's matcher: any member they name that the release
#   renamed, removed or changed fails here;
# - for each block macro, a search with the macro defined as a name nothing
#   declares: the compile must fail on that name, which shows the headers still
#   read the macro (a release that ignored it would silently drop a limit).
# The outcome is kept per header set and compiler, so a second configure
# does not repeat it.
set(regex_check_signature "${TAMARIN_REGEX_RELEASE}|${regex_origin}|${CMAKE_CXX_COMPILER}")
if(NOT TAMARIN_REGEX_CHECKED STREQUAL regex_check_signature)
  message(STATUS "Checking Boost.Regex ${TAMARIN_REGEX_RELEASE} (${regex_origin}) for what the work budget needs")
  set(probe "${CMAKE_CURRENT_LIST_DIR}/RegexLibraryProbe.cpp")
  set(engine_dir "${PROJECT_SOURCE_DIR}/engine")
  set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
  # Only whether it compiles matters: no optimizer, no debug information; the
  # probes that must fail are only parsed and instantiated.
  set(quick_flags -O0 -g0)
  set(parse_only_flags ${quick_flags})
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    list(APPEND parse_only_flags -fsyntax-only)
  endif()

  try_compile(members_compile
    SOURCES "${engine_dir}/WorkBudget.cpp" "${engine_dir}/PatternCompile.cpp" "${probe}"
    COMPILE_DEFINITIONS ${quick_flags} ${regex_check_flags} "-I${engine_dir}" "-I${engine_dir}/private"
    LINK_LIBRARIES ${regex_check_libraries}
    CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF NO_CACHE
    OUTPUT_VARIABLE output)
  if(NOT members_compile)
    string(REGEX MATCHALL "[^\n]*error[^\n]*" errors "${output}")
    list(REMOVE_DUPLICATES errors)
    list(SUBLIST errors 0 8 errors)
    list(JOIN errors "\n" errors)
    message(FATAL_ERROR
      "Boost.Regex ${TAMARIN_REGEX_RELEASE} (${regex_origin}) no longer offers what the engine's work "
      "budget specializes: perl_matcher's estimate_max_state_count, push_recursion_pop, match_prefix, "
      "extend_stack and unwind_extra_block, basic_regex_creator's append_literal, and the members their "
      "bodies use (engine/WorkBudget.cpp or engine/PatternCompile.cpp does not compile against it). "
      "The compiler said:\n${errors}\n"
      "Build with a release from ${TAMARIN_REGEX_MINIMUM_VERSION} that has them, or port those files "
      "to this one.")
  endif()

  foreach(macro BOOST_REGEX_BLOCKSIZE BOOST_REGEX_MAX_BLOCKS BOOST_REGEX_MAX_CACHE_BLOCKS)
    try_compile(macro_compiles
      SOURCES "${probe}"
      COMPILE_DEFINITIONS ${parse_only_flags} ${regex_check_flags} -DTAMARIN_PROBE_UNREAD_${macro}
      LINK_LIBRARIES ${regex_check_libraries}
      CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF NO_CACHE
      OUTPUT_VARIABLE output)
    if(macro_compiles OR NOT output MATCHES "tamarin_probe_reads_${macro}")
      message(FATAL_ERROR
        "Boost.Regex ${TAMARIN_REGEX_RELEASE} (${regex_origin}) no longer reads the block macro ${macro}, "
        "which engine/private/RegexConfig.h sets to bound each match's backtracking memory: the engine "
        "would build without that bound. Build with a release from ${TAMARIN_REGEX_MINIMUM_VERSION} "
        "that reads it.")
    endif()
  endforeach()
  set(TAMARIN_REGEX_CHECKED "${regex_check_signature}" CACHE INTERNAL
    "The Boost.Regex release and headers that passed the work budget's check")
  message(STATUS "Checking Boost.Regex ${TAMARIN_REGEX_RELEASE} (${regex_origin}) for what the work budget needs - done")
endif()
