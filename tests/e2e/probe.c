/* Reads the running launcher's main window from outside, for the end-to-end tests: prints
 * whether it exists and is visible, the country label, the country list and the device list,
 * one "key=value" per line. Only windows of a process whose executable path contains the text
 * given first count (other programs on the same desktop may have windows of the same class).
 * Exit code 1 when there is no main window. */
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

static HWND g_label, g_combo, g_list;
static const wchar_t* g_marker;

/* Whether the window belongs to a process whose executable path contains the marker. */
static BOOL Ours(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!p) return FALSE;
  wchar_t path[MAX_PATH * 2];
  DWORD n = MAX_PATH * 2;
  BOOL ok = QueryFullProcessImageNameW(p, 0, path, &n);
  CloseHandle(p);
  if (!ok) return FALSE;
  CharLowerW(path);
  return wcsstr(path, g_marker) != NULL;
}

static HWND FindOurs(const wchar_t* cls) {
  HWND w = NULL;
  while ((w = FindWindowExW(NULL, w, cls, NULL)) != NULL)
    if (Ours(w)) return w;
  return NULL;
}

static BOOL CALLBACK Child(HWND h, LPARAM l) {
  (void)l;
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  if (!g_label && !lstrcmpiW(cls, L"Static")) g_label = h;
  if (!g_combo && !lstrcmpiW(cls, L"ComboBox")) g_combo = h;
  if (!g_list && !lstrcmpiW(cls, L"ListBox")) g_list = h;
  return TRUE;
}

static void Print(const char* key, const wchar_t* value) {
  char utf8[4096];
  WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof utf8, NULL, NULL);
  printf("%s=%s\n", key, utf8);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    printf("usage: kc_probe PATH-PART [--close]\n");
    return 2;
  }
  static wchar_t marker[MAX_PATH];
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, marker, MAX_PATH);
  CharLowerW(marker);
  g_marker = marker;
  HWND w = FindOurs(L"Tfm_MAIN_FORM");
  printf("update_window=%s\n", FindOurs(L"Tfm_UPD_PROGRESS") ? "yes" : "no");
  if (!w) {
    printf("window=none\n");
    return 1;
  }
  if (argc > 2 && !strcmp(argv[2], "--close")) {
    /* As the user's Exit command would: the window closes and the program ends. */
    PostMessageW(w, WM_CLOSE, 0, 0);
    printf("closed=yes\n");
    return 0;
  }
  printf("window=%s\n", IsWindowVisible(w) ? "visible" : "hidden");
  EnumChildWindows(w, Child, 0);
  wchar_t text[1024] = {0};
  if (g_label) {
    SendMessageW(g_label, WM_GETTEXT, 1024, (LPARAM)text);
    Print("country_label", text);
  }
  if (g_combo) {
    printf("countries=%ld\n", (long)SendMessageW(g_combo, CB_GETCOUNT, 0, 0));
    LRESULT n = SendMessageW(g_combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      text[0] = 0;
      SendMessageW(g_combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
      Print("country", text);
    }
  }
  if (g_list) printf("devices=%ld\n", (long)SendMessageW(g_list, LB_GETCOUNT, 0, 0));
  fflush(stdout);
  return 0;
}
