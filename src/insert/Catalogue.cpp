#include "insert/Catalogue.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "files/Messages.h"

namespace korvane {
namespace {

bool isBreak(char c) { return c == '\r' || c == '\n'; }
bool isSeparator(char c) { return c == ',' || isBreak(c); }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> parseCatalogue(std::string_view text) {
    std::vector<std::string> rows;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && isBlank(text[i])) ++i;
        std::string field;
        if (i < n && text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? n : close;
            field.assign(text.substr(i + 1, end - i - 1));
            i = end == n ? n : end + 1;
            while (i < n && !isSeparator(text[i])) ++i;
        } else {
            const std::size_t start = i;
            while (i < n && !isSeparator(text[i])) ++i;
            std::size_t end = i;
            while (end > start && isBlank(text[end - 1])) --end;
            field.assign(text.substr(start, end - start));
        }
        if (!field.empty()) rows.push_back(std::move(field));
        // One separator ends the field; CR LF counts as one line break.
        if (i < n) {
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            ++i;
        }
    }
    return rows;
}

std::vector<std::string> catalogueCandidates(const std::string& executableDir) {
    const std::filesystem::path dir(executableDir);
    return {(dir / kCatalogueFileName).string(),
            (dir / ".." / "share" / "korvane" / kCatalogueFileName).lexically_normal().string()};
}

CatalogueFile readCatalogue(const std::vector<std::string>& candidates) {
    CatalogueFile result;
    if (candidates.empty()) return result;
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) continue;
        result.failedPath = path;
        if (std::filesystem::is_directory(path, ec)) return result;
        const auto size = std::filesystem::file_size(path, ec);
        if (ec || size > kCatalogueMaxBytes) return result;
        std::ifstream in(path, std::ios::binary);
        if (!in) return result;
        std::string text(static_cast<std::size_t>(size), '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        if (in.gcount() != static_cast<std::streamsize>(text.size())) return result;
        result.rows = parseCatalogue(text);
        result.failedPath.clear();
        return result;
    }
    result.failedPath = candidates.front();
    return result;
}

CatalogueControls catalogueControls(int width, int height) {
    CatalogueControls c;
    c.lockWidth = std::max(0, width);
    c.lockTop = std::max(0, height - 600);
    c.listWidth = std::max(0, width - 100);
    // The list stops at the lock button, so that the button stays clickable.
    c.listHeight = std::clamp(height - 500, 0, c.lockTop);
    return c;
}

std::string catalogueMessage(const std::string& path) { return message(MessageId::CatalogueUnreadable, {path}); }

}  // namespace korvane
