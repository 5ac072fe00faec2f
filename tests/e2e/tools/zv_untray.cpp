// zv_untray: takes a window's icon out of the notification area, as a shell that restarts
// without telling anyone leaves a program.
//
//   zv_untray.exe HWND ID
//
// Exit code: 0 the icon was removed, 1 bad arguments, 2 the shell had no such icon.
#include "zv_common.h"

#include <shellapi.h>

int wmain(int argc, wchar_t** argv) {
    long long hwnd = 0, id = 0;
    if (argc != 3 || !zv::ParseNumber(argv[1], &hwnd) || !zv::ParseNumber(argv[2], &id))
        return zv::PrintUsage("usage: zv_untray.exe HWND ID\n");
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd));
    data.uID = static_cast<UINT>(id);
    return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 2;
}
