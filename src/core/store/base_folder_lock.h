#pragma once

#include "core/files/files.h"

#include <memory>

namespace gamarium::store {

namespace sqlite {
class Database;
}

// Held while a base is made, emptied or restored, so that copies of the
// program doing so in the same folder at once take turns instead of
// building the same files side by side. A folder that may not be written is refused here,
// before anything is touched.
class BaseFolderLock {
public:
    explicit BaseFolderLock(const files::Path& basesFolder);
    ~BaseFolderLock();
    BaseFolderLock(const BaseFolderLock&) = delete;
    BaseFolderLock& operator=(const BaseFolderLock&) = delete;

private:
    std::unique_ptr<sqlite::Database> lock_;
};

} // namespace gamarium::store
