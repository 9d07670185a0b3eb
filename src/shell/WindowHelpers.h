#pragma once
// Small routines of the main window's start-up: paths from the command line, and
// where the window opens when another Korvane already has its window there.
#include <functional>
#include <string>

#include "shell/Layout.h"

namespace korvane {

// A path from the command line checked against the file system: double quotes
// removed, every name but the last must be a directory and the last must exist.
// Each name takes the spelling of its directory entry, which differs from the given
// one only on a file system that ignores case. "Erreur" when a name is not found.
std::string cheminLong(const std::string& path);

struct WindowPlace {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPlace&) const = default;
};

// Where a window of `wanted`'s size opens: `wanted`'s own place when `held` says
// no other window has it, else `step` lower and further right, and so on; a step
// that would take the window past the area's right or bottom edge starts again
// from the area's top-left corner. When every place tried is held, the wanted one.
WindowPlace freePlace(const TwipsRect& wanted, const TwipsRect& area, int step,
                      const std::function<bool(WindowPlace)>& held);

// The places that running Korvane windows opened at: one lock file per place and
// settings file in `folder`, locked for as long as its claim lives. The system
// frees the lock of a process that ends, even by a crash.
class PlaceClaim {
public:
    // `owner` tells apart the windows of different settings files.
    PlaceClaim(std::string folder, std::string owner);
    ~PlaceClaim();
    PlaceClaim(const PlaceClaim&) = delete;
    PlaceClaim& operator=(const PlaceClaim&) = delete;

    // Whether a claim other than this one holds `place`.
    bool held(WindowPlace place) const;
    // Holds `place` instead of the one held before; false when its lock file
    // could not be made or another claim holds it (then nothing is held).
    bool take(WindowPlace place);
    void release();

private:
    std::string lockPath(WindowPlace place) const;
    std::string folder_;
    std::string owner_;
    int fd_ = -1;
    WindowPlace place_;  // the place held while fd_ is open
};

// The folder of the lock files: $XDG_RUNTIME_DIR/korvane, else a folder of the
// user's own in the system's temporary folder.
std::string placeFolder();

}  // namespace korvane
