// Start-up of the Windows program against a bare Win32 window, under Wine:
// each run is timed from process creation to its window being visible, the
// two programs alternating; medians, since the first runs and stray load
// skew means. Also the .exe's size.
//   startup_bench BAUD51_EXE BARE_EXE [runs]      (default 21 runs of each)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr double kTimeTarget = 1.2;
constexpr long long kSizeTarget = 1024 * 1024;
constexpr int kDefaultRuns = 21;
constexpr int kWarmUpRuns = 2;
constexpr DWORD kPatienceMs = 20000;

std::wstring WindowsPath(std::wstring path) {
  if (path.starts_with(L"/")) path = L"Z:" + path;  // CMake's Unix path
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

HWND VisibleWindowOf(DWORD process) {
  struct Query {
    DWORD process;
    HWND found = nullptr;
  } query{process};
  EnumWindows(
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(lparam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != q.process || !IsWindowVisible(hwnd) ||
            GetWindow(hwnd, GW_OWNER) != nullptr) {
          return TRUE;
        }
        q.found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Milliseconds from creating the process to its window shown; -1 on failure.
double TimeToWindow(const std::wstring& exe) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring command = L"\"" + exe + L"\"";
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info)) {
    return -1;
  }
  HWND shown = nullptr;
  const ULONGLONG give_up = GetTickCount64() + kPatienceMs;
  while ((shown = VisibleWindowOf(info.dwProcessId)) == nullptr &&
         GetTickCount64() < give_up) {
    Sleep(1);
  }
  QueryPerformanceCounter(&now);
  if (shown != nullptr) PostMessageW(shown, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
    shown = nullptr;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (shown == nullptr) return -1;
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: startup_bench BAUD51_EXE BARE_EXE [runs]\n", stderr);
    return 2;
  }
  const std::wstring programs[2] = {WindowsPath(argv[1]), WindowsPath(argv[2])};
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : kDefaultRuns;
  std::vector<double> times[2];
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      // Alternating, so neither program always follows the other.
      const int which = (run % 2 == 0) ? p : 1 - p;
      const double ms = TimeToWindow(programs[which]);
      if (ms < 0) {
        std::fprintf(stderr, "%ls did not show its window and close\n",
                     programs[which].c_str());
        return 1;
      }
      if (run >= 0) times[which].push_back(ms);
    }
  }
  const double ours = Median(times[0]), bare = Median(times[1]);
  std::printf("runs each: %d (after %d warm-up)\n", runs, kWarmUpRuns);
  std::printf(
      "start-up to window shown, median: baud51 %.1f ms, bare Win32 %.1f ms, "
      "ratio %.3f (target <= %.2f) %s\n",
      ours, bare, ours / bare, kTimeTarget,
      ours / bare <= kTimeTarget ? "ok" : "OVER");
  WIN32_FILE_ATTRIBUTE_DATA file{};
  GetFileAttributesExW(programs[0].c_str(), GetFileExInfoStandard, &file);
  const long long size =
      (static_cast<long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
  std::printf("baud51.exe size: %lld bytes (target <= %lld) %s\n", size,
              kSizeTarget, size <= kSizeTarget ? "ok" : "OVER");
  return 0;
}
