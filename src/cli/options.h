#pragma once

#include "cli/command.h"

// Every option of gamarium-cli, declared once: the command table lists
// them and the commands read them by these names, so a misspelt option
// does not compile.
namespace gamarium::cli::options {

// The values an option takes, as far as the words alone tell.
bool isEncoding(std::string_view value);
bool isDelimiter(std::string_view value);
bool isSlot(std::string_view value);
bool isFindField(std::string_view value);
bool isGamesPerPage(std::string_view value);
bool isJobCount(std::string_view value);

inline constexpr Option Replace{"--replace"};
inline constexpr Option Patches{"--patches"};
inline constexpr Option Encoding{"--encoding", "utf8|cp1251", false, isEncoding};
inline constexpr Option Delimiter{"--delimiter", "C", false, isDelimiter};
inline constexpr Option Cut{"--cut"};
inline constexpr Option Move{.name = "--move", .onlyFor = "orphans"};
inline constexpr Option PerPage{"--per-page", "N", false, isGamesPerPage};
inline constexpr Option PatchPath{"--patch-path", "P"};
inline constexpr Option ExtPatchPath{"--ext-patch-path", "P"};
inline constexpr Option ImagePath{"--image-path", "P"};
inline constexpr Option SiteUrl{"--site-url", "URL"};
inline constexpr Option Delete{"--delete"};
inline constexpr Option DryRun{"--dry-run"};
inline constexpr Option Jobs{"--jobs", "N", false, isJobCount};
inline constexpr Option CaCert{"--cacert", "FILE"};
inline constexpr Option Check{"--check"};
inline constexpr Option Field{"--field", "F", true, isFindField};
inline constexpr Option Word{"--word"};
inline constexpr Option Slot{"--slot", "1..5", false, isSlot};
inline constexpr Option Force{"--force"};

// At most this many connections for --jobs: hosts cut off a client that opens more.
inline constexpr unsigned kMostJobs = 16;

} // namespace gamarium::cli::options
