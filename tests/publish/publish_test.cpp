// Publishing to real servers: only what changed goes out, only what the
// program sent is removed, and --dry-run and --check say what they find.
#include "publish_fixture.h"

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
         {"--delete", "--dry-run"}, {"отправлен index.htm", "удалён Игры/Марио 64.htm"},
         "отправлено 1, удалено 1, без изменений 3", byHand},
        {"--delete removes only what it sent",
         [&] {
             local["index.htm"] = "<html>новая главная</html>";
             local.erase("Игры/Марио 64.htm");
         },
         {"--delete"}, {"отправлен index.htm", "удалён Игры/Марио 64.htm"},
         "отправлено 1, удалено 1, без изменений 3", byHand},
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

INSTANTIATE_TEST_SUITE_P(Protocols, PublishTest, ::testing::Values(Protocol::Sftp, Protocol::Ftps, Protocol::Ftp),
                         [](const auto& info) { return protocolName(info.param); });

} // namespace
} // namespace gamarium::testing
