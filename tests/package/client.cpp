// Uses the installed library like any client: one message in a spool named
// on the command line, through a WIN.INI also named there.
#include <xwth/xwth.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: package_client WININI SPOOL\n");
        return 2;
    }
    setenv("XWTH_WININI", argv[1], 1);
    if (!WriteProfileStringA("Zelvo Fax Setup,FAX", "Spool Directory", argv[2])) {
        return 3;
    }
    CFaxMessage message;
    CString fax("12345");
    if (!message.SetToFax(fax) || message.GetToFax() != fax) {
        return 4;
    }
    std::printf("%s\n", (LPCSTR)message.GetToFax());
    return message.GetAttachmentsCount() == 0 ? 0 : 5;
}
