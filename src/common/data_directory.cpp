// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/data_directory.h"

#include "common/file_io.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace zenbalo {

namespace fs = std::filesystem;

namespace {

constexpr const char *kSharedFiles[] = {"zenbalo.kan", "説明書.txt"};

DataDirectory failure(const std::string &path, const std::string &reason) {
    return {path, "データの置き場所 " + path + " を用意できませんでした。\n" + reason};
}

// The nearest part of `path` that exists; it is no directory when a file
// stands in the way.
fs::path existingPart(fs::path path) {
    std::error_code error;
    while (!fs::exists(fs::symlink_status(path, error)) && path.has_relative_path())
        path = path.parent_path();
    return path;
}

std::string reason(const fs::path &path, int error) {
    switch (error) {
    case EEXIST:
    case ENOTDIR:
        return existingPart(path).string() + " はフォルダーではなくファイルです。";
    case ENOENT:
        return existingPart(path).string() + " の中にはフォルダーを作れません。";
    case ELOOP:
        return "シンボリックリンクが循環しています。";
    case ENAMETOOLONG:
        return "名前が長すぎます。";
    case EACCES:
    case EPERM:
        return existingPart(path).string() + " に書き込む権限がありません。";
    default:
        return errorReason(WriteResult::fromErrno(error));
    }
}

} // namespace

std::string processEnvironment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

DataDirectory dataDirectory(const Environment &environment) {
    std::error_code error;
    const fs::path here = fs::current_path(error);
    if (const std::string data = environment("ZENBALO_DATA"); !data.empty())
        return {(here / data).string(), {}};
    if (const fs::path base = environment("XDG_DATA_HOME"); base.is_absolute())
        return {(base / "zenbalo").string(), {}};
    const std::string home = environment("HOME");
    if (home.empty())
        return failure("$HOME/.local/share/zenbalo", "環境変数 HOME が設定されていません。");
    return {(here / home / ".local/share/zenbalo").string(), {}};
}

DataDirectory enterDataDirectory(const Environment &environment, const std::string &share) {
    DataDirectory data = dataDirectory(environment);
    if (!data.ok())
        return data;
    const fs::path path = data.path;
    std::error_code error;
    fs::create_directories(path, error);
    if (error)
        return failure(data.path, reason(path, error.value()));
    if (!fs::is_directory(path, error))
        return failure(data.path, reason(path, ENOTDIR));
    // Checked here: a directory the program cannot write would lose the
    // player's library at the first save.
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return failure(data.path, reason(path, errno));
    for (const char *name : kSharedFiles)
        fs::copy_file(fs::path(share) / name, path / name, fs::copy_options::skip_existing, error);
    fs::current_path(path, error);
    if (error)
        return failure(data.path, reason(path, error.value()));
    return data;
}

} // namespace zenbalo
