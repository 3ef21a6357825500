/* Reads the running launcher's main window from outside, for the end-to-end tests: prints
 * whether it exists and is visible, the country label, the country list and the device list,
 * one "key=value" per line. Exit code 1 when there is no main window. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static HWND g_label, g_combo, g_list;

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
  HWND w = FindWindowW(L"Tfm_MAIN_FORM", NULL);
  printf("update_window=%s\n", FindWindowW(L"Tfm_UPD_PROGRESS", NULL) ? "yes" : "no");
  if (!w) {
    printf("window=none\n");
    return 1;
  }
  if (argc > 1 && !strcmp(argv[1], "--close")) {
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
