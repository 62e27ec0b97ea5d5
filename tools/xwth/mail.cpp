// The "mail" command: composes one message with the MIME writer and writes
// it to a new file or appends it to a mailbox file.
#include "mail.h"

#include <xwth/xwth.h>

#include <afxdisp.h>
#include <shlwapi.h>

#include <TQLog.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace xwth_tool {
namespace {

void PrintMailUsage(FILE* out) {
    std::fputs(
        "usage: xwth mail --from \"Name <addr>\" --to ADDR [--to ADDR ...] --subject TEXT\n"
        "                 (--body-file FILE | --body TEXT) [--mbox-separator SENDER]\n"
        "                 [--date now|@EPOCH] --out FILE [--append]\n"
        "\n"
        "Writes one RFC 822 message to FILE, replacing it, or with --append adds it\n"
        "to the end of FILE as one more message of a mailbox (an append is on disk\n"
        "when the command ends). --mbox-separator puts the mailbox separator line\n"
        "\"From SENDER DATE\" first. --date gives the message's time as seconds since\n"
        "1970 UTC; the default is now. The body's bytes are written as they are.\n"
        "\n"
        "Exit status: 0 written, 1 the message could not be written, 2 bad usage.\n",
        out);
}

// "Name <addr>" into its two parts; text without angle brackets is an address.
void SplitPeople(const std::string& text, std::string& name, std::string& address) {
    const std::string::size_type open = text.rfind('<');
    if (open == std::string::npos || text.empty() || text.back() != '>') {
        name.clear();
        address = text;
        return;
    }
    address = text.substr(open + 1, text.size() - open - 2);
    name = text.substr(0, open);
    while (!name.empty() && name.back() == ' ') name.pop_back();
}

bool ParseDate(const char* text, FILETIME& ft) {
    if (std::strcmp(text, "now") == 0) {
        GetSystemTimeAsFileTime(&ft);
        return true;
    }
    if (text[0] != '@' || text[1] == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(text + 1, &end, 10);
    if (errno != 0 || *end != '\0' || seconds < 0 || seconds > 32535215999LL) return false;
    const ULONGLONG ticks = (static_cast<ULONGLONG>(seconds) + 11644473600ULL) * 10000000ULL;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return true;
}

bool ReadFile(const char* path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void PrintLogLine(void*, const char* category, const char* text) {
    std::fprintf(stderr, "xwth mail: log %s: %s\n", category, text);
}

struct MailOptions {
    std::string from, subject, body, bodyFile, separator, out;
    const char* date = "now";
    std::vector<std::string> to;
    bool haveBody = false, append = false;
};

// The message of the options, saved; 0, or 1 with a message on stderr.
int WriteMail(const MailOptions& opt) {
    FILETIME ft;
    if (!ParseDate(opt.date, ft)) {
        std::fprintf(stderr, "xwth mail: --date takes now or @SECONDS (0 to 32535215999)\n");
        return 2;
    }
    CMIMEMessage msg;
    CMIMEHeader& header = msg.GetHeader();
    std::string name, address;
    SplitPeople(opt.from, name, address);
    try {
        if (!opt.separator.empty()) header.AddFrom(opt.separator.c_str(), ft);
        header.AddDateField(ft);
    } catch (COleException* e) {
        std::fprintf(stderr, "xwth mail: the date cannot be written (error 0x%08lX)\n",
                     static_cast<unsigned long>(e->m_sc));
        e->Delete();
        return 1;
    }
    header.AddSender(name.c_str(), address.c_str());
    CStringArray to;
    for (const std::string& addr : opt.to) to.Add(addr.c_str());
    header.AddRecipients(to);
    header.AddSubject(opt.subject.c_str());
    header.AddMIMEVersion();
    header.AddContentType(NULL);
    if (!opt.bodyFile.empty()) {
        // Through a memory stream, as a client hands over a COM stream.
        std::string bytes;
        if (!ReadFile(opt.bodyFile.c_str(), bytes)) {
            std::fprintf(stderr, "xwth mail: cannot read %s\n", opt.bodyFile.c_str());
            return 1;
        }
        IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<UINT>(bytes.size()));
        if (stream == NULL) {
            std::fprintf(stderr, "xwth mail: out of memory\n");
            return 1;
        }
        msg.GetBody().SetPlainText(stream);
        stream->Release();
    } else {
        msg.GetBody().SetPlainText(opt.body.c_str());
    }
    TQLogSetSink(PrintLogLine, NULL);
    const bool saved = msg.SaveToFile(opt.out.c_str(), opt.append);
    TQLogSetSink(NULL, NULL);
    if (!saved) {
        std::fprintf(stderr, "xwth mail: cannot write %s\n", opt.out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int RunMail(int argc, char** argv) {
    MailOptions opt;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            PrintMailUsage(stdout);
            return 0;
        }
        if (std::strcmp(arg, "--append") == 0) {
            opt.append = true;
            continue;
        }
        const char* const valued[] = {"--from", "--to", "--subject", "--body", "--body-file",
                                      "--mbox-separator", "--date", "--out"};
        bool known = false;
        for (const char* name : valued) known = known || std::strcmp(arg, name) == 0;
        if (!known || i + 1 >= argc) {
            std::fprintf(stderr, known ? "xwth mail: %s needs a value\n\n" : "xwth mail: unknown option '%s'\n\n",
                         arg);
            PrintMailUsage(stderr);
            return 2;
        }
        const char* value = argv[++i];
        if (std::strcmp(arg, "--from") == 0) opt.from = value;
        else if (std::strcmp(arg, "--to") == 0) opt.to.push_back(value);
        else if (std::strcmp(arg, "--subject") == 0) opt.subject = value;
        else if (std::strcmp(arg, "--mbox-separator") == 0) opt.separator = value;
        else if (std::strcmp(arg, "--date") == 0) opt.date = value;
        else if (std::strcmp(arg, "--out") == 0) opt.out = value;
        else if (opt.haveBody) {
            std::fprintf(stderr, "xwth mail: give one of --body and --body-file\n\n");
            PrintMailUsage(stderr);
            return 2;
        } else {
            opt.haveBody = true;
            (std::strcmp(arg, "--body") == 0 ? opt.body : opt.bodyFile) = value;
        }
    }
    if (opt.from.empty() || opt.to.empty() || !opt.haveBody || opt.out.empty()) {
        std::fprintf(stderr, "xwth mail: --from, --to, --body or --body-file, and --out are needed\n\n");
        PrintMailUsage(stderr);
        return 2;
    }
    return WriteMail(opt);
}

int DemoMailbox(const std::string& folder) {
    const std::string box = folder + "/demo.mbox";
    std::printf("\nmailbox: %s\n", box.c_str());
    const char* const subjects[] = {"Fax sent", "Fax delivered"};
    for (int i = 0; i < 2; ++i) {
        MailOptions opt;
        opt.from = "Fax Service <fax@example.org>";
        opt.to.push_back("robin@example.org");
        opt.subject = subjects[i];
        opt.body = i == 0 ? "Your fax to +1 555 0100 was sent.\r\n" : "Your fax to +1 555 0100 was delivered.\r\n";
        opt.separator = "fax@example.org";
        opt.date = i == 0 ? "@1700000000" : "@1700000600";
        opt.out = box;
        opt.append = true;
        if (WriteMail(opt) != 0) return 1;
        std::printf("  appended \"%s\"\n", subjects[i]);
    }
    std::ifstream in(box, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string shown;
    for (char c : text) {
        if (c != '\r') shown += c;
    }
    std::printf("\n%s\n", shown.c_str());
    return 0;
}

}  // namespace xwth_tool
