#include "publish_fixture.h"

#include "cli/command_line.h"
#include "core/files/files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace gamarium::testing {
namespace fs = std::filesystem;

Tree readTree(const fs::path& folder) {
    Tree tree;
    if (!fs::exists(folder)) return tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        tree[entry.path().lexically_relative(folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return tree;
}

void writeTree(const fs::path& folder, const Tree& tree) {
    for (const auto& [path, bytes] : tree) {
        const fs::path file = folder / path;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }
}

std::vector<std::string> temporariesIn(const Tree& tree) {
    std::vector<std::string> names;
    for (const auto& [path, bytes] : tree)
        if (files::isTemporaryName(fs::path(path).filename().string())) names.push_back(path);
    return names;
}

const char* protocolName(publish::Protocol protocol) {
    return protocol == publish::Protocol::Sftp ? "Sftp" : protocol == publish::Protocol::Ftps ? "Ftps" : "Ftp";
}

std::vector<std::string> CliResult::sortedLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (!lines.empty()) lines.pop_back();
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string CliResult::lastLine() const {
    std::string trimmed = out;
    while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
    const std::size_t start = trimmed.rfind('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

void PublishTest::SetUp() {
    if (GetParam() != publish::Protocol::Sftp && !testAccount().ftpReason.empty()) GTEST_SKIP() << testAccount().ftpReason;
    home_ = work_.path() / "program";
    site_ = work_.path() / "мой сайт";
    fs::create_directories(home_);
    fs::create_directories(site_);
    server_ = std::make_unique<TestServer>(
        GetParam() == publish::Protocol::Sftp ? TestServer::Kind::Ssh : TestServer::Kind::Ftp, work_.path());
    server_->writeNetrc(testAccount().password);
    setenv("HOME", server_->clientHome().c_str(), 1);
}

void PublishTest::TearDown() {
    server_.reset();
}

CliResult PublishTest::publish(const std::vector<std::string>& extra, const std::string& remoteFolder) {
    std::vector<std::string> arguments = {"--home", home_.string(), "publish", site_.string(),
                                          server_->url(GetParam(), remoteFolder)};
    if (GetParam() == publish::Protocol::Ftps) {
        arguments.push_back("--cacert");
        arguments.push_back(server_->certificate().string());
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    CliResult result;
    result.exitCode = cli::run(arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Tree PublishTest::remote(const std::string& remoteFolder) const {
    return readTree(server_->root() / remoteFolder);
}

publish::SiteAddress PublishTest::address(const std::string& remoteFolder) const {
    return publish::parseSiteAddress(server_->url(GetParam(), remoteFolder));
}

} // namespace gamarium::testing
