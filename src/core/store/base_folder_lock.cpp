#include "core/store/base_folder_lock.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/store/sqlite.h"
#include "core/store/table_file.h"

namespace gamarium::store {
namespace {

// An SQLite file serves as the lock: its locks work alike on every system
// the program runs on, and the system drops them when a holder is killed.
constexpr const char* kLockFileName = ".gamarium-lock";
constexpr int kLongestWaitMilliseconds = 30000;

} // namespace

BaseFolderLock::BaseFolderLock(const files::Path& basesFolder) {
    const std::string folderName = "«" + shownFileName(basesFolder) + "»";
    std::error_code ec;
    if (!std::filesystem::is_directory(basesFolder, ec))
        throw Error("Папка " + folderName + " не найдена и не может быть создана.");
    if (!files::isWritable(basesFolder)) throw Error("Папка " + folderName + " доступна только для чтения.");
    lock_ = std::make_unique<sqlite::Database>(basesFolder / kLockFileName, sqlite::OpenMode::Create, kLockFileName);
    lock_->setBusyTimeout(kLongestWaitMilliseconds);
    try {
        lock_->exec("BEGIN EXCLUSIVE");
    } catch (const Error&) {
        throw Error("Другая копия программы создаёт, очищает или восстанавливает базу в папке " + folderName +
                    "; попробуйте ещё раз позже.");
    }
}

BaseFolderLock::~BaseFolderLock() = default;

} // namespace gamarium::store
