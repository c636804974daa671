#include "core/publish/publish.h"

#include "core/publish/local_files.h"
#include "core/publish/sent_record.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace gamarium::publish {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryBeside(const std::string& path) {
    return files::temporaryFor(files::Path(path)).generic_string();
}

// The callbacks, called one at a time whatever thread calls.
class Teller {
public:
    explicit Teller(const PublishCallbacks& callbacks) : callbacks_(callbacks) {}
    void line(const std::string& text) {
        const std::lock_guard lock(mutex_);
        if (callbacks_.line) callbacks_.line(text);
    }
    void warning(const std::string& text) {
        const std::lock_guard lock(mutex_);
        if (callbacks_.warning) callbacks_.warning(text);
    }
    void step(std::size_t total) {
        const std::lock_guard lock(mutex_);
        ++done_;
        if (callbacks_.progress) callbacks_.progress(done_, total);
    }
    bool cancelled() {
        const std::lock_guard lock(mutex_);
        return callbacks_.cancelled && callbacks_.cancelled();
    }

private:
    const PublishCallbacks& callbacks_;
    std::mutex mutex_;
    std::size_t done_ = 0;
};

// Up to `jobs` connections working through a list of tasks together. The
// first failure stops the others after their current task; it is thrown
// once all have stopped.
class Workers {
public:
    Workers(const SiteAddress& address, const Access& access, unsigned jobs, Teller& teller)
        : address_(address), access_(access), teller_(teller), connections_(std::max(1u, jobs)) {}

    // The first connection, logged in alone, so that a question about the
    // server's key is asked once.
    Connection& first() {
        if (!connections_[0]) {
            connections_[0] = std::make_unique<Connection>(address_, access_);
            connections_[0]->login();
        }
        return *connections_[0];
    }

    // Runs task(connection, index) for every index below `count`; false
    // when the user cancelled before all were done.
    template <typename Task>
    bool run(std::size_t count, const Task& task) {
        std::atomic<std::size_t> next{0};
        std::atomic<bool> stop{false};
        std::exception_ptr failure;
        std::mutex failureMutex;
        bool cancelled = false;
        const auto work = [&](std::size_t worker) {
            try {
                while (!stop) {
                    if (teller_.cancelled()) {
                        const std::lock_guard lock(failureMutex);
                        cancelled = true;
                        stop = true;
                        break;
                    }
                    const std::size_t index = next++;
                    if (index >= count) break;
                    if (!connections_[worker]) connections_[worker] = std::make_unique<Connection>(address_, access_);
                    task(*connections_[worker], index);
                }
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
                stop = true;
            }
        };
        const std::size_t workers = std::min<std::size_t>(connections_.size(), count);
        std::vector<std::thread> threads;
        for (std::size_t worker = 1; worker < workers; ++worker) threads.emplace_back(work, worker);
        if (count > 0) work(0);
        for (std::thread& thread : threads) thread.join();
        if (failure) std::rethrow_exception(failure);
        return !cancelled;
    }

private:
    const SiteAddress& address_;
    const Access& access_;
    Teller& teller_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

// Runs `step` on the remote `path`, and names it in what failed.
template <typename Step>
void naming(const std::string& verb, const std::string& path, const Step& step) {
    try {
        step();
    } catch (const FileFailure& failure) {
        throw FileFailure(verb + " " + failure.what());
    } catch (const LoginRefused&) {
        throw;
    } catch (const ConnectionError& lost) {
        throw ConnectionError(verb + " «" + path + "». " + lost.what());
    }
}

// Removes the remote temporaries an earlier run noted and may have left.
void removeLeftTemporaries(SentRecord& record, Workers& workers, Teller& teller) {
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::string& name : record.temporaries()) byFolder[folderOf(name)].push_back(name);
    for (const auto& entry : byFolder) {
        const std::string& folder = entry.first;
        const std::vector<std::string>& names = entry.second;
        Connection& connection = workers.first();
        std::optional<std::vector<RemoteEntry>> entries;
        naming("Не удалось прочитать папку на сервере", folder + "/", [&] { entries = connection.list(folder); });
        std::set<std::string> present;
        if (entries)
            for (const RemoteEntry& entry : *entries) present.insert(entry.name);
        std::vector<std::string> gone;
        for (const std::string& name : names) {
            if (present.count(nameOf(name))) {
                try {
                    connection.remove(name);
                } catch (const FileFailure& failure) {
                    teller.warning(std::string("Не удалось удалить временный файл ") + failure.what());
                    continue;
                }
            }
            gone.push_back(name);
        }
        record.forgetTemporaries(gone);
    }
}

// Lists the remote folders and drops from `sent` (and the record, unless a
// dry run) what is missing on the server or has another size there.
void checkRemote(const std::vector<LocalFile>& local, std::map<std::string, SentFile>& sent, SentRecord* record,
                 Workers& workers, Teller& teller) {
    std::set<std::string> folders;
    for (const LocalFile& file : local) folders.insert(folderOf(file.path));
    for (const auto& [path, file] : sent) folders.insert(folderOf(path));
    std::map<std::string, std::uint64_t> remote;  // every remote file by path
    for (const std::string& folder : folders) {
        std::optional<std::vector<RemoteEntry>> entries;
        naming("Не удалось прочитать папку на сервере", folder + "/",
               [&] { entries = workers.first().list(folder); });
        if (!entries) continue;
        for (const RemoteEntry& entry : *entries)
            if (entry.isFile) remote[folder.empty() ? entry.name : folder + "/" + entry.name] = entry.size;
    }
    std::size_t missing = 0, differing = 0;
    for (auto it = sent.begin(); it != sent.end();) {
        const auto found = remote.find(it->first);
        if (found != remote.end() && found->second == it->second.size) {
            ++it;
            continue;
        }
        if (found == remote.end()) {
            teller.line("нет на сервере " + it->first);
            ++missing;
        } else {
            teller.line("другой размер на сервере " + it->first);
            ++differing;
        }
        if (record) record->forget(it->first);
        it = sent.erase(it);
    }
    teller.line("проверено на сервере: " + std::to_string(sent.size() + missing + differing) +
                " из записи, нет " + std::to_string(missing) + ", другой размер " + std::to_string(differing));
}

} // namespace

std::string reportLine(const PublishReport& report) {
    return "отправлено " + std::to_string(report.sent) + ", удалено " + std::to_string(report.removed) +
           ", без изменений " + std::to_string(report.unchanged);
}

PublishReport publishFolder(const files::Path& home, const files::Path& folder, const SiteAddress& address,
                            const Access& access, const PublishOptions& options, const PublishCallbacks& callbacks) {
    const std::vector<LocalFile> local = listLocalFiles(folder);
    // A dry run writes nothing, not even an empty record.
    std::unique_ptr<SentRecord> record;
    if (!options.dryRun || files::fileExists(SentRecord::fileFor(home, folder, address)))
        record = std::make_unique<SentRecord>(home, folder, address);
    std::map<std::string, SentFile> sent = record ? record->files() : std::map<std::string, SentFile>{};

    Teller teller(callbacks);
    Workers workers(address, access, options.jobs, teller);
    const bool online = !options.dryRun || options.check;
    if (online && address.protocol == Protocol::Ftp)
        teller.warning("Внимание: по ftp:// пароль идёт по сети незашифрованным; где сервер умеет, "
                       "пишите ftps:// или sftp://.");
    if (!options.dryRun) removeLeftTemporaries(*record, workers, teller);
    if (options.check) checkRemote(local, sent, options.dryRun ? nullptr : record.get(), workers, teller);

    PublishReport report;
    std::vector<const LocalFile*> toSend;
    std::set<std::string> present;
    for (const LocalFile& file : local) {
        present.insert(file.path);
        const auto it = sent.find(file.path);
        if (it != sent.end() && it->second.size == file.size && it->second.hash == file.hash)
            ++report.unchanged;
        else
            toSend.push_back(&file);
    }
    std::vector<std::string> toRemove;
    if (options.removeGone)
        for (const auto& [path, file] : sent)
            if (!present.count(path)) toRemove.push_back(path);

    if (options.dryRun) {
        for (const LocalFile* file : toSend) teller.line("отправлен " + file->path);
        for (const std::string& path : toRemove) teller.line("удалён " + path);
        report.sent = toSend.size();
        report.removed = toRemove.size();
        return report;
    }

    const std::size_t total = toSend.size() + toRemove.size();
    std::atomic<std::size_t> sentCount{0}, removedCount{0};
    if (total > 0) workers.first();
    bool finished = workers.run(toSend.size(), [&](Connection& connection, std::size_t index) {
        const LocalFile& file = *toSend[index];
        const std::string folderPart = folderOf(file.path);
        const std::string temporary = temporaryBeside(file.path), aside = temporaryBeside(file.path);
        record->beginSend(file.path, {temporary, aside});
        Connection::Sent result;
        naming("Не удалось отправить", file.path, [&] {
            result = connection.upload(folder / files::Path(file.path), file.path, nameOf(temporary), nameOf(aside));
        });
        std::vector<std::string> gone{temporary};
        if (!result.asideLeft) gone.push_back(aside);
        record->confirmSent(file.path, result.file, gone);
        ++sentCount;
        teller.line("отправлен " + file.path);
        teller.step(total);
    });
    if (finished) {
        finished = workers.run(toRemove.size(), [&](Connection& connection, std::size_t index) {
            const std::string& path = toRemove[index];
            naming("Не удалось удалить", path, [&] { connection.remove(path); });
            record->forget(path);
            ++removedCount;
            teller.line("удалён " + path);
            teller.step(total);
        });
    }
    report.sent = sentCount;
    report.removed = removedCount;
    report.cancelled = !finished;
    return report;
}

} // namespace gamarium::publish
