// Lists the running Windows programs as "ID STARTER NAME" lines: who started
// a program, known after the starter has ended.
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <cstdio>

int main()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        std::printf("%lu %lu %s\n", entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile);
    return snapshot == INVALID_HANDLE_VALUE;
}
