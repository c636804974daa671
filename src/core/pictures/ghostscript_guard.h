#pragma once

// The system-specific side of picture decoding: GraphicsMagick draws EPS
// files by running Ghostscript as a child process, and libwmf prints its
// complaints about damaged metafiles; both must stay within the program's
// bounds.
namespace gamarium::pictures {

// Gives GraphicsMagick delegate settings (in a private temporary folder,
// named by MAGICK_CONFIGURE_PATH) that run Ghostscript under `timeout`, so
// that a PostScript file that loops for ever fails after
// kGhostscriptSeconds instead of hanging the program, with its own output
// and error streams on the null device. To be called once, before
// GraphicsMagick is initialised.
inline constexpr int kGhostscriptSeconds = 10;
void limitGhostscriptTime();

// Points the process's standard error at the null device while it lives,
// so that what libwmf prints about a damaged metafile goes nowhere: it has
// no hook of its own that GraphicsMagick sets. Only a metafile's decoding
// is wrapped in it.
class SilencedOutput {
public:
    SilencedOutput();
    ~SilencedOutput();
    SilencedOutput(const SilencedOutput&) = delete;
    SilencedOutput& operator=(const SilencedOutput&) = delete;

private:
    int saved_ = -1;
};

} // namespace gamarium::pictures
