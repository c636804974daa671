#include "core/publish/publish.h"

#include "core/publish/local_files.h"
#include "core/publish/sent_record.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <semaphore>
#include <set>
#include <thread>

namespace gamarium::publish {
namespace {

// A login costs about as many round trips as sending a few small files:
// another connection is opened only for this many files more.
constexpr std::size_t kFilesPerLogin = 4;
// Connections log in this many at a time: a stock sshd drops connections
// beyond ten that have not logged in yet, and hosts limit them too.
constexpr std::ptrdiff_t kLoginsAtOnce = 4;

// The remote temporaries of one pair's runs: "<name>.<pair id>.gamarium-tmp-<6
// hex digits>", the program's one pattern, naming the pair whose run left
// them. A later run of the same folder and URL knows them even when the
// record that noted them was deleted, and never takes another pair's.
class Temporaries {
public:
    explicit Temporaries(const std::string& id) : tag_("." + id) {}

    std::string beside(const std::string& path) const {
        return files::temporaryFor(files::Path(path + tag_)).generic_string();
    }
    bool isOwn(std::string_view name) const {
        // What temporaryFor appends to a name.
        static const std::size_t suffix = files::temporaryFor(files::Path()).native().size();
        return files::isTemporaryName(name) && name.substr(0, name.size() - suffix).ends_with(tag_);
    }

private:
    std::string tag_;
};

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
    ~Workers() { abandonLogin(); }

    // Logs the first connection in beside the caller, who meanwhile reads
    // the local folder: the login is most of a run that sends little.
    void startLogin() {
        login_ = std::thread([this] {
            try {
                auto connection = std::make_unique<Connection>(address_, access_);
                connection->abandonWhen(abandoned_);
                connection->login();
                connections_[0] = std::move(connection);
            } catch (...) {
                loginFailure_ = std::current_exception();
            }
        });
    }
    // Stops that login when the run needs no server after all.
    void abandonLogin() {
        if (!login_.joinable()) return;
        abandoned_ = true;
        login_.join();
    }

    // The first connection, logged in alone, so that a question about the
    // server's key is asked once.
    Connection& first() {
        if (login_.joinable()) login_.join();
        if (loginFailure_) std::rethrow_exception(loginFailure_);
        if (!connections_[0]) {
            connections_[0] = std::make_unique<Connection>(address_, access_);
            connections_[0]->login();
        }
        return *connections_[0];
    }

    // Runs task(connection, index) for every index below `count`; false
    // when the user cancelled before all were done. A connection the
    // server will not take leaves its share to the others.
    template <typename Task>
    bool run(std::size_t count, const Task& task) {
        std::atomic<std::size_t> next{0};
        std::atomic<bool> stop{false};
        std::exception_ptr failure;
        std::mutex failureMutex;
        bool cancelled = false;
        std::counting_semaphore<kLoginsAtOnce> logins(kLoginsAtOnce);
        const auto work = [&](std::size_t worker) {
            try {
                while (!stop) {
                    if (teller_.cancelled()) {
                        const std::lock_guard lock(failureMutex);
                        cancelled = true;
                        stop = true;
                        break;
                    }
                    if (!connections_[worker] && (next >= count || !logIn(worker, logins))) break;
                    const std::size_t index = next++;
                    if (index >= count) break;
                    task(*connections_[worker], index);
                }
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
                stop = true;
            }
        };
        const std::size_t workers =
            std::min<std::size_t>(connections_.size(), (count + kFilesPerLogin - 1) / kFilesPerLogin);
        std::vector<std::thread> threads;
        for (std::size_t worker = 1; worker < workers; ++worker) threads.emplace_back(work, worker);
        if (count > 0) work(0);
        for (std::thread& thread : threads) thread.join();
        if (failure) std::rethrow_exception(failure);
        return !cancelled;
    }

private:
    // Logs a further connection in; false when the server would not take it.
    bool logIn(std::size_t worker, std::counting_semaphore<kLoginsAtOnce>& logins) {
        auto connection = std::make_unique<Connection>(address_, access_);
        logins.acquire();
        try {
            connection->login();
        } catch (const Error&) {
            logins.release();
            return false;
        }
        logins.release();
        connections_[worker] = std::move(connection);
        return true;
    }

    const SiteAddress& address_;
    const Access& access_;
    Teller& teller_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::thread login_;
    std::atomic<bool> abandoned_{false};
    std::exception_ptr loginFailure_;
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

// What the remote folders hold, by folder; nothing for a folder that is missing.
using Listings = std::map<std::string, std::optional<std::vector<RemoteEntry>>>;

Listings listFolders(const std::set<std::string>& folders, const SiteAddress& address, Workers& workers) {
    Listings listings;
    for (const std::string& folder : folders) {
        Connection& connection = workers.first();
        // Named as the server has it: the first one read is the remote folder itself.
        naming("Не удалось прочитать папку на сервере", (folder.empty() ? address.path : address.path + "/" + folder) + "/",
               [&] { listings[folder] = connection.list(folder); });
    }
    return listings;
}

// Removes the pair's temporaries an earlier run left in the listed folders,
// and forgets those the record noted there.
void sweepTemporaries(const Listings& listings, const Temporaries& own, SentRecord& record, Workers& workers,
                      Teller& teller) {
    std::map<std::string, std::set<std::string>> noted;
    for (const std::string& name : record.temporaries()) noted[remoteFolderOf(name)].insert(name);
    for (const auto& [folder, entries] : listings) {
        std::set<std::string> left;
        if (entries) {
            for (const RemoteEntry& entry : *entries) {
                const std::string path = joinRemotePath(folder, entry.name);
                if (!entry.isFile || !(own.isOwn(entry.name) || noted[folder].count(path))) continue;
                try {
                    workers.first().remove(path);
                } catch (const FileFailure& failure) {
                    teller.warning(std::string("Не удалось удалить временный файл ") + failure.what());
                    left.insert(path);
                }
            }
        }
        std::vector<std::string> gone;
        for (const std::string& name : noted[folder])
            if (!left.count(name)) gone.push_back(name);
        record.forgetTemporaries(gone);
    }
}

// Drops from `sent` (and the record, unless a dry run) what the listed
// folders miss or hold with another size.
void checkRemote(const Listings& listings, std::map<std::string, SentFile>& sent, SentRecord* record,
                 Teller& teller) {
    std::map<std::string, std::uint64_t> remote;  // every remote file by path
    for (const auto& [folder, entries] : listings) {
        if (!entries) continue;
        for (const RemoteEntry& entry : *entries)
            if (entry.isFile) remote[joinRemotePath(folder, entry.name)] = entry.size;
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
           ", без изменений " + std::to_string(report.unchanged) +
           (report.skipped ? ", пропущено " + std::to_string(report.skipped) : "");
}

PublishReport publishFolder(const files::Path& home, const files::Path& folder, const SiteAddress& address,
                            const Access& access, const PublishOptions& options, const PublishCallbacks& callbacks) {
    refuseForeignFolder(folder, home);
    // A dry run writes nothing, not even an empty record.
    std::unique_ptr<SentRecord> record;
    if (!options.dryRun || files::fileExists(SentRecord::fileFor(home, folder, address)))
        record = std::make_unique<SentRecord>(home, folder, address);
    const Temporaries own(SentRecord::idFor(folder, address));
    Teller teller(callbacks);
    Workers workers(address, access, options.jobs, teller);
    const bool online = !options.dryRun || options.check;
    if (online) workers.startLogin();

    const KnownHashes known = record ? record->hashes() : KnownHashes{};
    const LocalFolder listed = listLocalFiles(folder, known);
    const std::vector<LocalFile>& local = listed.files;
    if (!options.dryRun) record->keepHashes(local, known);
    std::map<std::string, SentFile> sent = record ? record->files() : std::map<std::string, SentFile>{};
    if (online && address.protocol == Protocol::Ftp)
        teller.warning("Внимание: по ftp:// пароль идёт по сети незашифрованным; где сервер умеет, "
                       "пишите ftps:// или sftp://.");
    // The remote folders looked into: those where the record noted
    // temporaries; all that files go to when nothing is recorded as sent
    // (a first run, or one that starts over after the record was deleted,
    // whose temporaries a killed run may have left); all with --check.
    std::set<std::string> folders;
    if (!options.dryRun) {
        for (const std::string& name : record->temporaries()) folders.insert(remoteFolderOf(name));
        if (sent.empty())
            for (const LocalFile& file : local) folders.insert(remoteFolderOf(file.path));
    }
    if (options.check) {
        for (const LocalFile& file : local) folders.insert(remoteFolderOf(file.path));
        for (const auto& entry : sent) folders.insert(remoteFolderOf(entry.first));
    }
    const Listings listings = listFolders(folders, address, workers);
    if (!options.dryRun) sweepTemporaries(listings, own, *record, workers, teller);
    if (options.check) checkRemote(listings, sent, options.dryRun ? nullptr : record.get(), teller);

    PublishReport report;
    report.skipped = listed.skipped.size();
    for (const std::string& skipped : listed.skipped) teller.warning("пропущен " + skipped);
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
    // A file the folder now holds as a folder is removed before the folder
    // is sent; the others after all is sent, so that no page is missing
    // before its new links are in place.
    std::vector<std::string> makingRoom, toRemove;
    if (options.removeGone) {
        for (const auto& [path, file] : sent) {
            if (present.count(path)) continue;
            const auto below = present.lower_bound(path + "/");
            (below != present.end() && below->starts_with(path + "/") ? makingRoom : toRemove).push_back(path);
        }
    }

    if (options.dryRun) {
        teller.line("пробный прогон, ничего не отправлено и не удалено; публикация сделала бы вот что:");
        for (const LocalFile* file : toSend) teller.line("отправлен " + file->path);
        for (const auto* paths : {&makingRoom, &toRemove})
            for (const std::string& path : *paths) teller.line("удалён " + path);
        report.sent = toSend.size();
        report.removed = makingRoom.size() + toRemove.size();
        return report;
    }

    const std::size_t total = toSend.size() + makingRoom.size() + toRemove.size();
    std::atomic<std::size_t> sentCount{0}, removedCount{0}, skippedCount{0};
    if (total > 0)
        workers.first();
    else
        workers.abandonLogin();
    const auto removeAll = [&](const std::vector<std::string>& paths) {
        return workers.run(paths.size(), [&](Connection& connection, std::size_t index) {
            const std::string& path = paths[index];
            // Unknown from here until the server confirms: a run killed in
            // between sends the file again if the folder has it once more.
            record->beginChange(path, sent.at(path).size, {});
            naming("Не удалось удалить", path, [&] { connection.remove(path); });
            record->forget(path);
            ++removedCount;
            teller.line("удалён " + path);
            teller.step(total);
        });
    };
    bool finished = removeAll(makingRoom);
    if (finished) {
        finished = workers.run(toSend.size(), [&](Connection& connection, std::size_t index) {
            const LocalFile& file = *toSend[index];
            const std::string temporary = own.beside(file.path), aside = own.beside(file.path);
            record->beginChange(file.path, file.size, {temporary, aside});
            Connection::Sent result;
            try {
                naming("Не удалось отправить", file.path, [&] {
                    result = connection.upload(folder / files::Path(file.path), file.path, remoteNameOf(temporary),
                                               remoteNameOf(aside));
                });
            } catch (const FolderInTheWay& clash) {
                record->forget(file.path);
                ++skippedCount;
                teller.warning("пропущен " + file.path + ": " + clash.what());
                teller.step(total);
                return;
            }
            std::vector<std::string> gone{temporary};
            if (!result.asideLeft) gone.push_back(aside);
            record->confirmSent(file.path, result.file, gone);
            ++sentCount;
            teller.line("отправлен " + file.path);
            teller.step(total);
        });
    }
    if (finished) finished = removeAll(toRemove);
    report.sent = sentCount;
    report.removed = removedCount;
    report.skipped += skippedCount;
    report.cancelled = !finished;
    return report;
}

} // namespace gamarium::publish
