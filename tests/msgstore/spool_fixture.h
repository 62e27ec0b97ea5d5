// Test fixture of the message store: a private spool named by a private
// WIN.INI, a private configuration file, and the log lines caught in order.
#pragma once

#include <xwth/faxmessage.h>

#include <Config.h>
#include <TQLog.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

// Readable failure messages for the framework's string.
inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"' << (LPCSTR)s << '"';
}

namespace msgstore_test {

inline void SetEnv(const char* name, const std::string& value) {
    xwth_test::SetEnv(name, value.c_str());
}

// The configuration record is loaded once per process, so its file is one
// per test process too, made before the first test runs.
class ConfigEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_dir = std::make_unique<xwth_test::TempDir>();
        SetEnv("XWTH_CONFIG", m_dir->file("config.ini"));
    }
    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<xwth_test::TempDir> m_dir;
};

class SpoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_spool = m_temp.file("spool");
        std::filesystem::create_directory(m_spool);
        SetEnv("XWTH_WININI", m_temp.file("win.ini"));
        SetSpool(m_spool);
        TQLogSetSink(&SpoolTest::Catch, this);
    }
    void TearDown() override { TQLogSetSink(NULL, NULL); }

    void SetSpool(const std::string& spool) {
        ASSERT_TRUE(WriteProfileStringA("Zelvo Fax Setup,FAX", "Spool Directory", spool.c_str()));
    }

    // Names in the spool, sorted.
    [[nodiscard]] std::vector<std::string> SpoolEntries() const { return Entries(m_spool); }

    // The test folder's expected names: the fixture's private WIN.INI sits
    // there in the winport build, while Windows keeps its own WIN.INI.
    [[nodiscard]] static std::vector<std::string> WithWinIni(std::vector<std::string> names) {
#if !defined(_WIN32)
        names.push_back("win.ini");
        std::sort(names.begin(), names.end());
#endif
        return names;
    }

    [[nodiscard]] static std::vector<std::string> Entries(const std::string& folder) {
        std::vector<std::string> names;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // A spool entry as the library names it, and as the test reads it from disk.
    [[nodiscard]] std::string LibPath(const std::string& relative) const { return m_spool + "\\" + relative; }
    [[nodiscard]] std::string DiskPath(const std::string& relative) const { return m_spool + "/" + relative; }

    // Writes a source document of the given content into the test folder.
    std::string MakeSource(const std::string& name, const std::string& content) {
        const std::string path = m_temp.file(name);
        xwth_test::WriteFileBytes(path, content);
        return path;
    }

    // The FAXMSG lines caught since the last call.
    std::vector<std::string> TakeLog() {
        std::vector<std::string> lines;
        lines.swap(m_log);
        return lines;
    }

    xwth_test::TempDir m_temp;
    std::string m_spool;

private:
    static void Catch(void* context, const char* category, const char* text) {
        if (std::string(category) == "FAXMSG") {
            static_cast<SpoolTest*>(context)->m_log.push_back(text);
        }
    }
    std::vector<std::string> m_log;
};

}  // namespace msgstore_test
