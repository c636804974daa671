// Publishing to real servers: only what changed goes out, only what the
// program sent is removed, and --dry-run and --check say what they find.
#include "publish_fixture.h"

#include "core/publish/sent_record.h"

#include <filesystem>
#include <fstream>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;
using publish::Protocol;
using Lines = std::vector<std::string>;

TEST_P(PublishTest, SendsOnlyWhatChangedAndRemovesOnlyWhatItSent) {
    Tree local = {
        {"index.htm", "<html>главная</html>"},
        {"a b.htm", "<html>A B</html>"},
        {"Игры/Марио 64.htm", "<html>Марио</html>"},
        {".htaccess", "Options -Indexes\n"},
        {"i/x/pic.jpg", std::string(300000, '\xff')},
    };
    writeTree(site_, local);
    struct Step {
        const char* what;
        std::function<void()> change;  // of the folder or the server, before the run
        std::vector<std::string> options;
        Lines lines;
        std::string closing;
        Tree remoteAfter;  // extra files the server keeps beside the folder's
    };
    Tree byHand = {{"counter.php", "<?php ?>"}, {"Игры/forum.txt", "posts"}};
    const Step steps[] = {
        {"first publish", [] {}, {},
         {"отправлен .htaccess", "отправлен a b.htm", "отправлен i/x/pic.jpg", "отправлен index.htm",
          "отправлен Игры/Марио 64.htm"},
         "отправлено 5, удалено 0, без изменений 0", {}},
        {"nothing changed but the times",
         [&] {
             for (const auto& [path, bytes] : local)
                 fs::last_write_time(site_ / path, fs::file_time_type::clock::now() + std::chrono::hours(1));
         },
         {}, {}, "отправлено 0, удалено 0, без изменений 5", {}},
        {"one file changed", [&] { local["a b.htm"] = "<html>A B, второй вариант</html>"; writeTree(site_, local); },
         {}, {"отправлен a b.htm"}, "отправлено 1, удалено 0, без изменений 4", {}},
        {"a dry run sends and removes nothing",
         [&] {
             writeTree(server_->root() / "www", byHand);
             giveToAccount(server_->root() / "www" / "counter.php");
             giveToAccount(server_->root() / "www" / "Игры" / "forum.txt");
             writeTree(site_, {{"index.htm", "<html>новая главная</html>"}});
             fs::remove(site_ / "Игры" / "Марио 64.htm");
         },
         {"--delete", "--dry-run"},
         {"отправлен index.htm", "пробный прогон, ничего не отправлено и не удалено; публикация сделала бы вот что:",
          "удалён Игры/Марио 64.htm"},
         "отправлено 1, удалено 1, без изменений 3", byHand},
        {"--delete removes only what it sent",
         [&] {
             local["index.htm"] = "<html>новая главная</html>";
             local.erase("Игры/Марио 64.htm");
         },
         {"--delete"}, {"отправлен index.htm", "удалён Игры/Марио 64.htm"},
         "отправлено 1, удалено 1, без изменений 3", byHand},
        {"a run ended between the server's rename and the record: the file is still the run's",
         [&] {
             writeTree(server_->root() / "www", {{"killed.htm", "<html>sent, not recorded</html>"}});
             giveToAccount(server_->root() / "www" / "killed.htm");
             publish::SentRecord(home_, site_, address()).beginChange("killed.htm", 30, {});
         },
         {"--delete"}, {"удалён killed.htm"}, "отправлено 0, удалено 1, без изменений 4", byHand},
        {"--check finds a missing and a changed file",
         [&] {
             fs::remove(server_->root() / "www" / "a b.htm");
             std::ofstream(server_->root() / "www" / "index.htm", std::ios::trunc) << "cut";
         },
         {"--check"},
         {"другой размер на сервере index.htm", "нет на сервере a b.htm", "отправлен a b.htm", "отправлен index.htm",
          "проверено на сервере: 4 из записи, нет 1, другой размер 1"},
         "отправлено 2, удалено 0, без изменений 2", byHand},
        {"--check finds nothing more", [] {}, {"--check"},
         {"проверено на сервере: 4 из записи, нет 0, другой размер 0"}, "отправлено 0, удалено 0, без изменений 4",
         byHand},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const Tree before = remote();
        step.change();
        const CliResult result = publish(step.options);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.sortedLines(), step.lines);
        EXPECT_EQ(result.lastLine(), step.closing);
        // The server holds the folder's files and those put there by hand;
        // after a dry run, what it held before.
        Tree expected = std::string_view(step.what).starts_with("a dry run") ? before : local;
        expected.insert(step.remoteAfter.begin(), step.remoteAfter.end());
        EXPECT_EQ(remote(), expected);
        EXPECT_EQ(result.err.find("незашифрованным") != std::string::npos,
                  GetParam() == Protocol::Ftp && !std::string_view(step.what).starts_with("a dry run"))
            << result.err;
    }
}

// Temporaries that a killed run left are known by the pair they belong to,
// even after its record was deleted; another pair's, or a name of the same
// pattern that no pair of this program made, stay.
TEST_P(PublishTest, SweepsItsOwnLeftoversOnly) {
    const Tree local = {{"index.htm", "<html>главная</html>"}, {"Игры/a b.htm", "<html>A B</html>"}};
    writeTree(site_, local);
    ASSERT_EQ(publish().exitCode, 0);
    const std::string own = publish::SentRecord::idFor(site_, address());
    const std::string other = publish::SentRecord::idFor(work_.path() / "другая папка", address());
    const Tree strangers = {{"index.htm." + other + ".gamarium-tmp-0a1b2c", "other pair"},
                            {"index.htm.gamarium-tmp-123456", "no pair"}};
    const auto plant = [&](const Tree& files) {
        writeTree(server_->root() / "www", files);
        for (const auto& [path, bytes] : files) giveToAccount(server_->root() / "www" / path);
    };
    plant(strangers);
    struct Step {
        const char* what;
        std::function<void()> before;
        std::vector<std::string> options;
    };
    const Step steps[] = {
        {"a run that starts over after the record was deleted",
         [&] { fs::remove(publish::SentRecord::fileFor(home_, site_, address())); }, {}},
        {"--check, which looks into every folder", [] {}, {"--check"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        plant({{"index.htm." + own + ".gamarium-tmp-0a1b2c", "half"},
               {"Игры/a b.htm." + own + ".gamarium-tmp-ffffff", "half"}});
        step.before();
        const CliResult result = publish(step.options);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        Tree expected = local;
        expected.insert(strangers.begin(), strangers.end());
        EXPECT_EQ(remote(), expected);
    }
}

// A remote folder stands where FOLDER has a file: it is never moved or
// replaced, the clash is told and the other files go out. A file the
// program sent that FOLDER now has as a folder is removed first with
// --delete, to make room for the folder.
TEST_P(PublishTest, NeverMovesARemoteFolder) {
    const Tree byHand = {{"forum/post.htm", "posts"}};
    writeTree(server_->root() / "www", byHand);
    giveToAccount(server_->root() / "www");
    giveToAccount(server_->root() / "www" / "forum");
    giveToAccount(server_->root() / "www" / "forum" / "post.htm");
    Tree local = {{"index.htm", "<html>главная</html>"}, {"a.htm", "<html>A</html>"}, {"forum", "a file"}};
    writeTree(site_, local);
    struct Step {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> options;
        int exitCode;
        Lines lines;
        std::string closing;
    };
    const Step steps[] = {
        {"a remote folder the program did not send, where FOLDER has a file", [] {}, {}, 1,
         {"отправлен a.htm", "отправлен index.htm"}, "отправлено 2, удалено 0, без изменений 0, пропущено 1"},
        {"a file replaced by a folder of the same name",
         [&] {
             fs::remove(site_ / "forum");
             fs::remove(site_ / "a.htm");
             local = {{"index.htm", "<html>главная</html>"}, {"a.htm/x.htm", "<html>X</html>"}};
             writeTree(site_, local);
         },
         {"--delete"}, 0, {"отправлен a.htm/x.htm", "удалён a.htm"}, "отправлено 1, удалено 1, без изменений 1"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const CliResult result = publish(step.options);
        EXPECT_EQ(result.exitCode, step.exitCode) << result.err;
        EXPECT_EQ(result.sortedLines(), step.lines);
        EXPECT_EQ(result.lastLine(), step.closing);
        EXPECT_EQ(result.exitCode == 0, result.err.find("forum") == std::string::npos) << result.err;
        Tree expected = local;
        expected.erase("forum");
        expected.insert(byHand.begin(), byHand.end());
        EXPECT_EQ(remote(), expected);
    }
}

// A stock sshd drops connections beyond ten that have not logged in yet:
// many jobs still send everything.
class SftpJobsTest : public PublishTest {};

TEST_P(SftpJobsTest, ManyJobsAgainstAStockServer) {
    for (int version = 0; version < 3; ++version) {
        SCOPED_TRACE(version);
        Tree local;
        for (int i = 0; i < 80; ++i) local["p" + std::to_string(i) + ".htm"] = std::to_string(version) + std::string(i, 'x');
        writeTree(site_, local);
        const CliResult result = publish({"--jobs", "16"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(remote(), local);
    }
}

INSTANTIATE_TEST_SUITE_P(Sftp, SftpJobsTest, ::testing::Values(Protocol::Sftp),
                         [](const auto& info) { return protocolName(info.param); });

INSTANTIATE_TEST_SUITE_P(Protocols, PublishTest, ::testing::Values(Protocol::Sftp, Protocol::Ftps, Protocol::Ftp),
                         [](const auto& info) { return protocolName(info.param); });

} // namespace
} // namespace gamarium::testing
