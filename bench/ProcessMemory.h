#pragma once
// What the kernel says of this process's resident memory (Linux only; the
// benches run there).
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <string>

namespace process_memory {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when missing.
inline long long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atoll(line.c_str() + length + 1);
    return -1;
}

// Sets the resident high-water mark to the present resident set.
inline bool ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

} // namespace process_memory
