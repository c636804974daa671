#pragma once

#include "test_servers.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gamarium::testing {

// A folder's files by relative path ('/' between parts) with their bytes.
using Tree = std::map<std::string, std::string>;

// Every regular file below `folder`.
Tree readTree(const std::filesystem::path& folder);
// Writes the files of `tree` below `folder` (making folders as needed).
void writeTree(const std::filesystem::path& folder, const Tree& tree);
// The names in a tree that are the program's temporaries.
std::vector<std::string> temporariesIn(const Tree& tree);

const char* protocolName(publish::Protocol protocol);

struct CliResult {
    int exitCode = -1;
    std::string out, err;
    // The output lines but the last, sorted (files go out in parallel).
    std::vector<std::string> sortedLines() const;
    std::string lastLine() const;
};

// A publishing test against a real server of one protocol: the program
// folder, the local folder "site" (its name has a space and Cyrillic), and
// the server, whose client side (HOME, .netrc, .ssh) is the test's own.
class PublishTest : public ::testing::TestWithParam<publish::Protocol> {
public:
    void stopServer() { server_.reset(); }

protected:
    void SetUp() override;
    void TearDown() override;

    // `gamarium-cli publish site URL` with the protocol's options and `extra`.
    CliResult publish(const std::vector<std::string>& extra = {}, const std::string& remoteFolder = "www");
    // What the remote folder holds.
    Tree remote(const std::string& remoteFolder = "www") const;
    publish::SiteAddress address(const std::string& remoteFolder = "www") const;

    TempFolder work_;
    std::filesystem::path home_, site_;
    std::unique_ptr<TestServer> server_;
};

} // namespace gamarium::testing
