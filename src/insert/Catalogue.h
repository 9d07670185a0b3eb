#pragma once
// The catalogue's rows, read from catalogue.dat: a list of calculator commands in
// the file's order. The text is calculator codes, as everywhere in the core.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

inline constexpr const char* kCatalogueFileName = "catalogue.dat";

// A file larger than this is not a list of commands; it is refused unread.
inline constexpr std::size_t kCatalogueMaxBytes = 1 << 20;

// Splits the file's text into rows. Fields are separated by commas or line breaks
// (CR LF, CR or LF); leading blanks are skipped. A field that begins with a double
// quote runs to the next double quote, may hold commas and line breaks, and is
// kept as it stands between the quotes; anything after its closing quote up to the
// next separator is dropped. An unquoted field loses its trailing blanks. Empty
// fields give no row.
std::vector<std::string> parseCatalogue(std::string_view text);

// Where catalogue.dat is looked for, in order: beside the executable, then the
// installed layout's share/korvane beside its bin folder.
std::vector<std::string> catalogueCandidates(const std::string& executableDir);

struct CatalogueFile {
    std::vector<std::string> rows;
    // Empty when a file was read; otherwise the path the user should look at
    // (the first candidate when none exists, or the one that could not be read).
    std::string failedPath;
};

// Reads the first candidate that exists. A missing, unreadable or oversized file
// gives no rows and names the file.
CatalogueFile readCatalogue(const std::vector<std::string>& candidates);

// The design client area and the lock button's height, in twips.
inline constexpr int kCatalogueClientWidth = 1740;
inline constexpr int kCatalogueClientHeight = 5310;
inline constexpr int kCatalogueLockHeight = 345;

// Where the list and the lock button go in a window of `width` x `height` twips
// (outer measures): the button along the bottom, as wide as the window, the list
// above it. Sizes that would be negative are clamped to zero.
struct CatalogueControls {
    int lockTop = 0;
    int lockWidth = 0;
    int listWidth = 0;
    int listHeight = 0;
};
CatalogueControls catalogueControls(int width, int height);

// A release at `x` twips from the list's left edge ends a drag out of the list when
// it lies left of it or right of it.
constexpr bool releaseOutsideList(int x, int listWidth) { return x < 0 || x > listWidth; }

// The message shown once when the catalogue could not be read (UTF-8, in the
// message language).
std::string catalogueMessage(const std::string& path);

}  // namespace korvane
