#pragma once
// The settings file: an INI file of one section, "option", read and written one key
// at a time with no cache. Values are bytes: captions hold calculator codes, paths
// hold the file system's UTF-8.
//
// Reading rules: keys match without regard to ASCII case and to surrounding blanks;
// values lose their surrounding blanks and stop at a NUL byte; a value is at most
// 254 bytes; the first of several equal keys wins; keys outside "option" are not
// seen. Writing rewrites the first matching key in place and keeps every other line
// byte for byte, so a hand-edited or damaged file loses nothing it held before.
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The longest value a read returns, in bytes.
constexpr std::size_t kIniValueMax = 254;

// The value of `key` in section "option" of the INI text `content`, or nothing when
// the key is absent.
std::optional<std::string> findIniValue(std::string_view content, std::string_view key);

// `content` with `key` of section "option" set to `value`: the first matching key is
// rewritten in place, otherwise the key is added at the end of the first "option"
// section, which is added at the end when the text has none. New lines take the
// line ending of the text's first line (LF for an empty text). `value` is kept up
// to its first CR, LF or NUL, which a line could not hold.
std::string withIniValue(std::string_view content, std::string_view key, std::string_view value);

// The settings file `cheminIni` and its four operations.
class Settings {
public:
    explicit Settings(std::string cheminIni);

    const std::string& cheminIni() const { return cheminIni_; }

    // The value of `key`; "1" when the key or the file is missing or unreadable.
    std::string lireIni(std::string_view key) const;

    // Sets `key` to `value`, creating the file, its folder and the section as needed.
    // The file is replaced whole through a temporary file beside it, so a failure
    // leaves the old file intact; a failed write is otherwise lost silently.
    void ecrireIni(std::string_view key, std::string_view value);

    // True unless the value of `key` is exactly "Faux".
    bool chargerOption(std::string_view key) const;

    // Stores "Vrai" or "Faux".
    void sauverOption(std::string_view key, bool value);

private:
    std::string cheminIni_;
};

// Writes `value` to `key` in the INI file at `path`; false when the file could not
// be written (it is then left as it was).
bool writeIniFile(const std::string& path, std::string_view key, std::string_view value);

// Where the settings file lives: the file named by KORVANE_INI when that variable is
// set; else Korvane.INI in `executableDir` when it exists there or that folder is
// writable; else $XDG_CONFIG_HOME/korvane/Korvane.INI (~/.config by default). The
// folder is created by the first write.
std::string locateCheminIni(const std::string& executableDir);

}  // namespace korvane
