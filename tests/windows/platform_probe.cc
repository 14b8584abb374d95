// Stands in for the rest of Plyfold around the Windows platform files, so
// that they can be checked under wine: the real WinMain calls this
// run_plyfold, which reports what reached it and what the box did.
//   probe.exe args REPORT ARG...   each argument, hex-encoded, one a line
//   probe.exe box REPORT           shows a box, inspects it from a second
//                                  thread, then presses its button
//   probe.exe files REPORT A B     file facts of A, of B, of a missing path
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "platform/files.h"
#include "platform/message_box.h"

namespace {

constexpr char kText[] = "First line 100%s\nsecond line";

struct BoxWatch {
  volatile LONG box_returned = 0;
  std::string report;
};

BOOL CALLBACK note_child(HWND child, LPARAM data) {
  auto* watch = reinterpret_cast<BoxWatch*>(data);
  char kind[64] = {};
  char text[1024] = {};
  GetClassNameA(child, kind, sizeof kind);
  GetWindowTextA(child, text, sizeof text);
  if (IsWindowVisible(child) && text[0] != '\0') {
    watch->report += std::string("child ") + kind + " " + text + "\n";
  }
  return TRUE;
}

DWORD WINAPI watch_box(void* data) {
  auto* watch = static_cast<BoxWatch*>(data);
  HWND box = nullptr;
  for (int tries = 0; tries < 200 && box == nullptr; ++tries) {
    Sleep(50);
    box = FindWindowA(nullptr, "Plyfold");
  }
  if (box == nullptr) {
    watch->report += "no box\n";
    return 0;
  }
  Sleep(500);  // the box must still be up, its caller still waiting
  watch->report += watch->box_returned ? "returned early\n" : "waiting\n";
  EnumChildWindows(box, note_child, reinterpret_cast<LPARAM>(watch));
  HWND ok = FindWindowExA(box, nullptr, "Button", nullptr);
  SendMessageA(ok, BM_CLICK, 0, 0);
  return 0;
}

std::string hex(const char* bytes) {
  std::string out;
  char digits[3];
  for (const char* b = bytes; *b; ++b) {
    std::snprintf(digits, sizeof digits, "%02x",
                  static_cast<unsigned char>(*b));
    out += digits;
  }
  return out;
}

std::string facts_line(const char* path) {
  const plyfold::FileFacts facts = plyfold::file_facts(path);
  return std::to_string(facts.exists) + " " + std::to_string(facts.folder) +
         " " + std::to_string(facts.regular) + " " +
         std::to_string(facts.size) + "\n";
}

}  // namespace

namespace plyfold {

int run_plyfold(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string mode = argv[1];
  std::string report;
  if (mode == "args") {
    report = "count " + std::to_string(argc) + "\n";
    for (int i = 3; i < argc; ++i) report += "[" + hex(argv[i]) + "]\n";
  } else if (mode == "box") {
    BoxWatch watch;
    HANDLE watcher = CreateThread(nullptr, 0, watch_box, &watch, 0, nullptr);
    show_message_box("Plyfold", kText);
    InterlockedExchange(&watch.box_returned, 1);
    WaitForSingleObject(watcher, INFINITE);
    report = watch.report + "box returned\n";
  } else if (mode == "files" && argc == 5) {
    const FileFacts a = file_facts(argv[3]);
    const FileFacts b = file_facts(argv[4]);
    report = facts_line(argv[3]) + facts_line(argv[4]) +
             facts_line("no such file") + "same " +
             std::to_string(same_file(a, b)) + "\n";
  }
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) return 1;
  std::fputs(report.c_str(), out);
  std::fclose(out);
  return 0;
}

}  // namespace plyfold
