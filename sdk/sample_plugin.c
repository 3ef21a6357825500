/* The SDK's sample plugin: all eight exports of kestrum_plugin.h, in plain C and Win32.
 * One source yields every demo plugin: the KP_... macros below (country, devices, type, texts)
 * are set per build, by kc_demo_plugin() in CMakeLists.txt through a generated kp_config.h.
 * Its ShowPlugin shows, in a small modal window, every parameter the launcher passed, so a
 * person can check the launcher's parameter string by eye. */
#include <windows.h>

#include "kestrum_plugin.h"

#ifdef KP_HAVE_CONFIG_H
#include "kp_config.h"
#endif

/* ---- Configuration ----------------------------------------------------------------------
 * Texts are UTF-8 (plain or as \x escapes); the plugin converts them to code page 1251 when it
 * answers, so a Cyrillic device name can be written as it reads. */
#ifndef KP_COUNTRY
#define KP_COUNTRY "BULGARIA" /* or several: "POLAND,ROMANIA" */
#endif
#ifndef KP_DEVICE_NAME
#define KP_DEVICE_NAME "Sample devices"
#endif
#ifndef KP_VERSION
#define KP_VERSION "1.0.0.0"
#endif
#ifndef KP_AUTHOR
#define KP_AUTHOR "Plugin author"
#endif
#ifndef KP_CONTACTS
#define KP_CONTACTS "support@example.com"
#endif
#ifndef KP_DESCRIPTION
#define KP_DESCRIPTION "Sample plugin: shows the parameters it receives."
#endif
#ifndef KP_DEVICES /* one device per line, lines joined by "\r\n" */
#define KP_DEVICES "Sample device 1\r\nSample device 2"
#endif
#ifndef KP_OTHER_DEVICES /* type 10 only: the list for a country not in KP_COUNTRY */
#define KP_OTHER_DEVICES KP_DEVICES
#endif
#ifndef KP_COMM_TYPE
#define KP_COMM_TYPE KESTRUM_COMM_SERIAL
#endif

#if KP_COMM_TYPE < 0 || KP_COMM_TYPE > 12
#error "KP_COMM_TYPE must be a communication type from 0 to 12"
#endif

#define KP_PLUGIN_CODE_PAGE 1251
/* The launcher converts the parameter string of these types, and the country, to 1252. */
#define KP_PARAMS_CODE_PAGE ((KP_COMM_TYPE == 10 || KP_COMM_TYPE == 12) ? 1252 : 1251)
/* Plugin errors of this sample; the launcher only tells zero from non-zero. */
#define KP_ERR_ARGUMENT 1
#define KP_ERR_CONVERSION 2
#define KP_ERR_INDEX 3
#define KP_ERR_WINDOW 4
/* ShowPlugin displays at most this much of an oversized parameter string. */
#define KP_SHOW_LIMIT 65536

static HINSTANCE g_instance;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

/* ---- Text helpers -------------------------------------------------------------------------- */

/* Decodes n bytes (n < 0: up to the zero byte) of code page cp into a new zero-terminated wide
 * text on the process heap; NULL when out of memory. *length (if given) counts embedded zeros. */
static wchar_t* WidenN(const char* bytes, int n, UINT cp, int* length) {
  int len = 0;
  if (n < 0) n = lstrlenA(bytes);
  if (n > 0) len = MultiByteToWideChar(cp, 0, bytes, n, NULL, 0);
  wchar_t* w = (wchar_t*)HeapAlloc(GetProcessHeap(), 0, ((size_t)len + 1) * sizeof(wchar_t));
  if (!w) return NULL;
  if (len > 0) len = MultiByteToWideChar(cp, 0, bytes, n, w, len);
  if (len < 0) len = 0;
  w[len] = 0;
  if (length) *length = len;
  return w;
}

static wchar_t* Widen(const char* bytes, int n, UINT cp) {
  return WidenN(bytes, n, cp, NULL);
}

static void Release(void* p) {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}

/* Writes a UTF-8 text to an output buffer of the launcher in code page 1251 and sets the count.
 * Characters 1251 lacks become "?" (no look-alike substitutes). The text is cut at the buffer's
 * size; 1251 has one byte per character, so a cut never splits a character. */
static int32_t Answer(const char* utf8, char* buffer, int32_t* count) {
  if (!buffer || !count) return KP_ERR_ARGUMENT;
  *count = 0;
  wchar_t* w = Widen(utf8, -1, CP_UTF8);
  if (!w) return KP_ERR_CONVERSION;
  int32_t rc = KESTRUM_PLUGIN_OK;
  int wlen = lstrlenW(w);
  if (wlen > 0) {
    int need = WideCharToMultiByte(KP_PLUGIN_CODE_PAGE, WC_NO_BEST_FIT_CHARS, w, wlen, NULL, 0, "?", NULL);
    char* bytes = need > 0 ? (char*)HeapAlloc(GetProcessHeap(), 0, (size_t)need) : NULL;
    if (bytes) {
      int n = WideCharToMultiByte(KP_PLUGIN_CODE_PAGE, WC_NO_BEST_FIT_CHARS, w, wlen, bytes, need, "?", NULL);
      if (n > KESTRUM_PLUGIN_BUFFER_SIZE) n = KESTRUM_PLUGIN_BUFFER_SIZE;
      if (n > 0) CopyMemory(buffer, bytes, (SIZE_T)n);
      *count = n > 0 ? n : 0;
      Release(bytes);
    } else {
      rc = KP_ERR_CONVERSION;
    }
  }
  /* Not needed by the launcher (it has the count); helps a host that reads up to a zero. */
  if (*count < KESTRUM_PLUGIN_BUFFER_SIZE) buffer[*count] = 0;
  Release(w);
  return rc;
}

static int IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}
static wchar_t AsciiUpper(wchar_t c) {
  return (c >= L'a' && c <= L'z') ? (wchar_t)(c - 32) : c;
}

/* Whether a[0..an) equals b[0..bn) after trimming blanks, ASCII letter case ignored. */
static int SameName(const wchar_t* a, int an, const wchar_t* b, int bn) {
  while (an > 0 && IsBlank(*a)) ++a, --an;
  while (an > 0 && IsBlank(a[an - 1])) --an;
  while (bn > 0 && IsBlank(*b)) ++b, --bn;
  while (bn > 0 && IsBlank(b[bn - 1])) --bn;
  if (an != bn) return 0;
  for (int i = 0; i < an; ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return 0;
  return 1;
}

/* The device list for a country: KP_DEVICES when it is one of the plugin's own countries
 * (KP_COUNTRY, "," separated), else KP_OTHER_DEVICES. */
static const char* DevicesFor(const wchar_t* country) {
  const char* result = KP_OTHER_DEVICES;
  wchar_t* own = Widen(KP_COUNTRY, -1, CP_UTF8);
  if (!own || !country) {
    Release(own);
    return result;
  }
  int clen = lstrlenW(country);
  for (const wchar_t* p = own;;) {
    const wchar_t* end = p;
    while (*end && *end != L',') ++end;
    if (SameName(p, (int)(end - p), country, clen)) {
      result = KP_DEVICES;
      break;
    }
    if (!*end) break;
    p = end + 1;
  }
  Release(own);
  return result;
}

/* ---- The exports --------------------------------------------------------------------------- */

KESTRUM_PLUGIN_API(int32_t) GetTypeDll(void) {
  return KESTRUM_PLUGIN_TYPE_DLL;
}

KESTRUM_PLUGIN_API(int32_t) AreYouMine(char* buffer, int32_t* count) {
  return Answer(KP_VERSION, buffer, count);
}

KESTRUM_PLUGIN_API(int32_t) GetCountry(char* buffer, int32_t* count) {
  return Answer(KP_COUNTRY, buffer, count);
}

KESTRUM_PLUGIN_API(int32_t) GetDeviceName(char* buffer, int32_t* count) {
  return Answer(KP_DEVICE_NAME, buffer, count);
}

KESTRUM_PLUGIN_API(int32_t) GetTypeCommunication(int32_t* type) {
  if (!type) return KP_ERR_ARGUMENT;
  *type = KP_COMM_TYPE;
  return KESTRUM_PLUGIN_OK;
}

KESTRUM_PLUGIN_API(int32_t)
GetSupportedDevices_Ex(const char* country, int32_t countryCount, char* buffer, int32_t* count) {
  if (countryCount < 0 || (!country && countryCount > 0)) countryCount = 0;
  wchar_t* name = Widen(country ? country : "", countryCount, 1252);
  if (!name) return KP_ERR_CONVERSION;
  int32_t rc = Answer(DevicesFor(name), buffer, count);
  Release(name);
  return rc;
}

KESTRUM_PLUGIN_API(int32_t) GetPluginIfno(int32_t index, char* buffer, int32_t* count) {
  switch (index) {
    case KESTRUM_INFO_AUTHOR:
      return Answer(KP_AUTHOR, buffer, count);
    case KESTRUM_INFO_DESCRIPTION:
      return Answer(KP_DESCRIPTION, buffer, count);
    case KESTRUM_INFO_CONTACTS:
      return Answer(KP_CONTACTS, buffer, count);
    case KESTRUM_INFO_DEVICES:
      return Answer(KP_DEVICES, buffer, count);
    default:
      if (count) *count = 0;
      return KP_ERR_INDEX;
  }
}

/* ---- ShowPlugin: the report text ------------------------------------------------------------ */

/* A growing wide text; on out-of-memory it stops growing and keeps what it has. */
typedef struct {
  wchar_t* p;
  int len, cap;
} Text;

static void Add(Text* t, const wchar_t* s, int n) {
  if (n < 0) n = lstrlenW(s);
  if (t->len + n + 1 > t->cap) {
    int cap = (t->len + n + 1) * 2;
    wchar_t* p = t->p ? (wchar_t*)HeapReAlloc(GetProcessHeap(), 0, t->p, (size_t)cap * sizeof(wchar_t))
                      : (wchar_t*)HeapAlloc(GetProcessHeap(), 0, (size_t)cap * sizeof(wchar_t));
    if (!p) return;
    t->p = p;
    t->cap = cap;
  }
  /* Control characters would upset the edit control (a zero would end the text). */
  for (int i = 0; i < n; ++i)
    t->p[t->len++] = (s[i] < 32 && s[i] != L'\r' && s[i] != L'\n') ? L'\x00B7' : s[i];
  t->p[t->len] = 0;
}

static void AddLine(Text* t, const wchar_t* label, const wchar_t* value, int n) {
  Add(t, label, -1);
  Add(t, value, n);
  Add(t, L"\r\n", 2);
}

/* The decimal value of v[0..n), or `fallback` when it is not a whole number. */
static int Number(const wchar_t* v, int n, int fallback) {
  int i = 0, sign = 1, value = 0;
  if (n > 0 && v[0] == L'-') sign = -1, i = 1;
  if (i >= n || n - i > 9) return fallback;
  for (; i < n; ++i) {
    if (v[i] < L'0' || v[i] > L'9') return fallback;
    value = value * 10 + (v[i] - L'0');
  }
  return sign * value;
}

/* The line `index` (from 0) of a device list, converted into out (cap characters). */
static void DeviceLine(const char* utf8list, int index, wchar_t* out, int cap) {
  out[0] = 0;
  wchar_t* w = Widen(utf8list, -1, CP_UTF8);
  if (!w) return;
  const wchar_t* p = w;
  for (int line = 0; *p && line < index; ++line) {
    while (*p && *p != L'\r' && *p != L'\n') ++p;
    if (*p == L'\r' && p[1] == L'\n') ++p;
    if (*p) ++p;
  }
  int n = 0;
  if (index >= 0)
    while (p[n] && p[n] != L'\r' && p[n] != L'\n' && n < cap - 1) out[n] = p[n], ++n;
  out[n] = 0;
  Release(w);
}

enum Field { F_COM, F_BAUD, F_IP, F_PORT, F_LOG, F_DEV, F_CT, F_COUNTRY, F_FLOW, F_ZERO, F_END };

/* The values of each type, in order. Type 8 is listed for CT 0; CT 1 swaps COM,BAUD for IP,PORT. */
static const unsigned char kLayout[13][6] = {
    {F_END},
    {F_COM, F_BAUD, F_END},
    {F_PORT, F_IP, F_END},
    {F_COM, F_END},
    {F_PORT, F_IP, F_DEV, F_LOG, F_END},
    {F_DEV, F_END},
    {F_COM, F_BAUD, F_DEV, F_END},
    {F_COM, F_BAUD, F_DEV, F_END},
    {F_CT, F_COM, F_BAUD, F_LOG, F_DEV, F_END},
    {F_COM, F_BAUD, F_DEV, F_ZERO, F_END},
    {F_COM, F_BAUD, F_DEV, F_COUNTRY, F_FLOW, F_END},
    {F_COM, F_BAUD, F_LOG, F_DEV, F_END},
    {F_COM, F_BAUD, F_DEV, F_COUNTRY, F_END},
};

typedef struct {
  const wchar_t* p;
  int n;
} Piece;

/* One value described for a person. */
static void AddField(Text* t, int field, Piece v, const wchar_t* country) {
  static const wchar_t* const kFlow[] = {L"None", L"Xon/Xoff", L"RTS/CTS", L"DTR/DSR"};
  wchar_t line[160];
  int num = Number(v.p, v.n, -2);
  switch (field) {
    case F_COM:
      if (num >= 0) {
        wsprintfW(line, L"COM %d", num);
        AddLine(t, L"Serial port: ", line, -1);
      } else {
        AddLine(t, L"Serial port: ", num == -1 ? L"none selected (-1)" : v.p, num == -1 ? -1 : v.n);
      }
      break;
    case F_BAUD:
      AddLine(t, L"Baud rate: ", v.n ? v.p : L"(empty)", v.n ? v.n : -1);
      break;
    case F_IP:
      AddLine(t, L"IP address: ", v.p, v.n);
      break;
    case F_PORT:
      AddLine(t, L"Port: ", v.p, v.n);
      break;
    case F_LOG:
      AddLine(t, L"Logical number: ", v.p, v.n);
      break;
    case F_DEV: {
      wchar_t device[96];
      DeviceLine(KP_COMM_TYPE == 10 ? DevicesFor(country) : KP_DEVICES, num, device, 96);
      Add(t, L"Device index: ", -1);
      Add(t, v.p, v.n);
      if (device[0]) Add(t, L"  (", -1), Add(t, device, -1), Add(t, L")", -1);
      Add(t, L"\r\n", 2);
      break;
    }
    case F_CT:
      AddLine(t, L"Communication: ",
              num == 0   ? L"RS232"
              : num == 1 ? L"TCP/IP"
                         : v.p,
              num == 0 || num == 1 ? -1 : v.n);
      break;
    case F_COUNTRY:
      AddLine(t, L"Country: ", v.p, v.n);
      break;
    case F_FLOW:
      if (num >= 0 && num <= 3) {
        AddLine(t, L"Flow control: ", kFlow[num], -1);
      } else {
        wsprintfW(line, L"none selected (%d)", num);
        AddLine(t, L"Flow control: ", num == -1 ? line : v.p, num == -1 ? -1 : v.n);
      }
      break;
    case F_ZERO:
      AddLine(t, L"Reserved (always 0): ", v.p, v.n);
      break;
  }
}

static const wchar_t* FieldLabel(int field) {
  static const wchar_t* const kLabels[] = {
      L"Serial port",  L"Baud rate",     L"IP address", L"Port",         L"Logical number",
      L"Device index", L"Communication", L"Country",    L"Flow control", L"Reserved (always 0)"};
  return field >= 0 && field < F_END ? kLabels[field] : L"?";
}

/* The whole report: who we are, each value by the type's layout, then the raw string. */
static void Describe(Text* t, const char* params, int count) {
  wchar_t line[160];
  int shown = count > KP_SHOW_LIMIT ? KP_SHOW_LIMIT : count;
  int wlen = 0; /* a zero byte in the string is shown, not taken as its end */
  wchar_t* w = WidenN(params, shown, KP_PARAMS_CODE_PAGE, &wlen);
  wchar_t* name = Widen(KP_DEVICE_NAME, -1, CP_UTF8);
  wchar_t* version = Widen(KP_VERSION, -1, CP_UTF8);
  if (!w || !name || !version) {
    Release(w), Release(name), Release(version);
    return;
  }

  AddLine(t, L"Plugin: ", name, -1);
  AddLine(t, L"Version: ", version, -1);
  wsprintfW(line, L"%d (code page %d)", KP_COMM_TYPE, KP_PARAMS_CODE_PAGE);
  AddLine(t, L"Communication type: ", line, -1);
  Add(t, L"\r\n", 2);

  /* Split at ",": every value is followed by one; an unterminated tail is a value too. */
  Piece pieces[64];
  int npieces = 0, start = 0;
  int terminated = wlen == 0 || w[wlen - 1] == L',';
  for (int i = 0; i <= wlen && npieces < 64; ++i) {
    if (i == wlen && start == wlen) break;
    if (i == wlen || w[i] == L',') {
      pieces[npieces].p = w + start;
      pieces[npieces].n = i - start;
      ++npieces;
      start = i + 1;
    }
  }

  const unsigned char* layout = kLayout[KP_COMM_TYPE];
  unsigned char fields[6];
  int nfields = 0;
  for (; layout[nfields] != F_END; ++nfields) fields[nfields] = layout[nfields];
  if (KP_COMM_TYPE == 8 && npieces > 0 && Number(pieces[0].p, pieces[0].n, 0) == 1)
    fields[1] = F_IP, fields[2] = F_PORT;

  wchar_t country[64] = L"";
  for (int i = 0; i < nfields && i < npieces; ++i)
    if (fields[i] == F_COUNTRY) lstrcpynW(country, pieces[i].p, pieces[i].n + 1 < 64 ? pieces[i].n + 1 : 64);

  if (nfields == 0 && npieces == 0) Add(t, L"(no parameters expected, none received)\r\n", -1);
  for (int i = 0; i < nfields; ++i) {
    if (i < npieces) {
      AddField(t, fields[i], pieces[i], country);
    } else {
      Add(t, FieldLabel(fields[i]), -1);
      Add(t, L": (missing)\r\n", -1);
    }
  }
  for (int i = nfields; i < npieces; ++i) AddLine(t, L"Unexpected extra value: ", pieces[i].p, pieces[i].n);
  if (!terminated) Add(t, L"Note: the string does not end with \",\".\r\n", -1);
  if (npieces == 64 && start < wlen) Add(t, L"Note: only the first 64 values are listed.\r\n", -1);

  wsprintfW(line, L"\r\nRaw string (%d bytes, code page %d):\r\n\"", count, KP_PARAMS_CODE_PAGE);
  Add(t, line, -1);
  Add(t, w, wlen);
  Add(t, L"\"\r\n\r\nBytes (hex):\r\n", -1);
  for (int i = 0; i < shown && i < 512; ++i) {
    wsprintfW(line, L"%02X%s", (unsigned char)params[i], (i % 16 == 15) ? L"\r\n" : L" ");
    Add(t, line, -1);
  }
  if (shown > 512) Add(t, L"...", -1);
  Add(t, L"\r\n", 2);
  Release(version);
  Release(name);
  Release(w);
}

/* ---- ShowPlugin: the window ----------------------------------------------------------------
 * An in-memory dialog template: the system runs the modal loop, Enter, Esc and the close box. */

#define KP_IDC_REPORT 100
#define KP_TIMER_AUTOCLOSE 1

typedef struct {
  const wchar_t* title;
  const wchar_t* report;
  int autocloseMs; /* < 0: stay open until closed */
} ShowContext;

static WORD* PutText(WORD* w, const wchar_t* s) {
  do *w++ = (WORD)*s;
  while (*s++);
  return w;
}

static WORD* AlignDword(WORD* w) {
  return (WORD*)(((ULONG_PTR)w + 3) & ~(ULONG_PTR)3);
}

static WORD* PutItem(WORD* w, DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
                     const wchar_t* text) {
  DLGITEMTEMPLATE* item = (DLGITEMTEMPLATE*)AlignDword(w);
  item->style = style | WS_CHILD | WS_VISIBLE;
  item->dwExtendedStyle = 0;
  item->x = x, item->y = y, item->cx = cx, item->cy = cy;
  item->id = id;
  w = (WORD*)(item + 1);
  *w++ = 0xFFFF; /* a predefined class, by ordinal */
  *w++ = cls;
  w = PutText(w, text);
  *w++ = 0; /* no creation data */
  return w;
}

static const DLGTEMPLATE* BuildTemplate(DWORD* storage) {
  DLGTEMPLATE* dlg = (DLGTEMPLATE*)storage;
  dlg->style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dlg->dwExtendedStyle = 0;
  dlg->cdit = 2;
  dlg->x = 0, dlg->y = 0, dlg->cx = 320, dlg->cy = 220;
  WORD* w = (WORD*)(dlg + 1);
  *w++ = 0; /* no menu */
  *w++ = 0; /* the standard dialog class */
  *w++ = 0; /* title: set in WM_INITDIALOG */
  *w++ = 8; /* font size, points */
  w = PutText(w, L"MS Shell Dlg");
  w = PutItem(w, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 306,
              184, KP_IDC_REPORT, 0x0081 /* EDIT */, L"");
  PutItem(w, BS_DEFPUSHBUTTON | WS_TABSTOP, 256, 199, 57, 14, IDOK, 0x0080 /* BUTTON */, L"Close");
  return dlg;
}

static INT_PTR CALLBACK ShowProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const ShowContext* context = (const ShowContext*)lparam;
      SetWindowTextW(dialog, context->title);
      SetDlgItemTextW(dialog, KP_IDC_REPORT, context->report);
      if (context->autocloseMs >= 0) SetTimer(dialog, KP_TIMER_AUTOCLOSE, (UINT)context->autocloseMs, NULL);
      SetFocus(GetDlgItem(dialog, IDOK)); /* focus on the edit would select all its text */
      return FALSE;
    }
    case WM_TIMER:
      if (wparam == KP_TIMER_AUTOCLOSE) EndDialog(dialog, IDOK);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, KP_TIMER_AUTOCLOSE);
      return FALSE;
  }
  return FALSE;
}

/* KESTRUM_DEMO_PLUGIN_AUTOCLOSE=<milliseconds> closes the window by itself, for unattended runs. */
static int AutocloseMs(void) {
  wchar_t value[16];
  DWORD n = GetEnvironmentVariableW(L"KESTRUM_DEMO_PLUGIN_AUTOCLOSE", value, 16);
  if (n == 0 || n >= 16) return -1;
  int ms = Number(value, (int)n, -1);
  return ms;
}

KESTRUM_PLUGIN_API(int32_t) ShowPlugin(const char* params, int32_t count) {
  if (count < 0 || !params) count = 0;
  Text report = {NULL, 0, 0};
  Describe(&report, params ? params : "", count);
  wchar_t* title = Widen(KP_DEVICE_NAME, -1, CP_UTF8);
  ShowContext context = {title ? title : L"", report.p ? report.p : L"", AutocloseMs()};
  DWORD storage[256]; /* the template: DWORD-aligned, as its items must be */
  INT_PTR result =
      DialogBoxIndirectParamW(g_instance, BuildTemplate(storage), NULL, ShowProc, (LPARAM)&context);
  Release(title);
  Release(report.p);
  return result == -1 ? KP_ERR_WINDOW : KESTRUM_PLUGIN_OK;
}
