#include "core/pictures/ghostscript_guard.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace gamarium::pictures {
namespace {

namespace fs = std::filesystem;

// The Ghostscript delegates GraphicsMagick reads PostScript with, one per
// output device, as its own delegates.mgk gives them.
constexpr const char* kDevices[][2] = {
    {"gs-mono", "pbmraw"},   {"gs-gray", "pgmraw"},          {"gs-palette", "pcx256"},
    {"gs-color", "pnmraw"},  {"gs-color+alpha", "pngalpha"}, {"gs-cmyk", "pamcmyk32"},
};

// Ghostscript runs under a time limit with its messages going nowhere:
// it writes the page to its output file, and the program reports failures
// itself. Read by /bin/sh, so that a temporary folder mounted noexec does
// no harm.
std::string quietGhostscript() {
    return "#!/bin/sh\nexec timeout -s KILL " + std::to_string(kGhostscriptSeconds) +
           " gs \"$@\" </dev/null >/dev/null 2>&1\n";
}

std::string delegateMap(const fs::path& quietGs) {
    std::string xml = "<?xml version=\"1.0\"?>\n<delegatemap>\n";
    for (const auto& [name, device] : kDevices)
        xml += std::string("  <delegate decode=\"") + name + "\" stealth=\"True\" command='\"/bin/sh\" \"" +
               quietGs.string() + "\" -q -dBATCH -dSAFER -dMaxBitmap=50000000 -dNOPAUSE -sDEVICE=" + device +
               " -dTextAlphaBits=%u -dGraphicsAlphaBits=%u -r%s %s \"-sOutputFile=%s\" -- \"%s\" -c quit' />\n";
    return xml + "</delegatemap>\n";
}

// The folder is made afresh with a name nobody can foresee (another user
// could otherwise put commands of theirs in it) and removed at exit.
class ConfigFolder {
public:
    ConfigFolder() {
        std::string pattern = (fs::temp_directory_path() / "gamarium-magick-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ConfigFolder() {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

void limitGhostscriptTime() {
    static const ConfigFolder folder;
    if (folder.path().empty())
        return;
    const fs::path quietGs = folder.path() / "quiet-gs";
    std::ofstream(quietGs) << quietGhostscript();
    std::ofstream(folder.path() / "delegates.mgk") << delegateMap(quietGs);
    ::setenv("MAGICK_CONFIGURE_PATH", folder.path().c_str(), 1);
}

SilencedOutput::SilencedOutput() {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) return;
    saved_ = ::dup(2);
    ::dup2(null, 2);
    ::close(null);
}

SilencedOutput::~SilencedOutput() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
}

} // namespace gamarium::pictures
