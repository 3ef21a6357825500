/* The contract between Kestrum Client and a device-configuration plugin, for plugin authors.
 * A plugin is a Windows DLL with the eight exports declared below; the launcher finds them by
 * their exact names, so the names, their argument order, the calling convention and the
 * buffer rules are fixed. Usable from C and C++, with MinGW and with MSVC. */
#ifndef KESTRUM_PLUGIN_H
#define KESTRUM_PLUGIN_H

#include <stdint.h>

/* ---- Calling convention and export -------------------------------------------------------
 *
 * KESTRUM_PLUGIN_CALL is __stdcall: the callee removes its arguments. It is what the 32-bit
 * launcher calls, so a plugin built with another convention corrupts the launcher's stack.
 * On x86_64 there is one convention and compilers ignore __stdcall.
 *
 * KESTRUM_PLUGIN_API(type) declares and defines an export:
 *     KESTRUM_PLUGIN_API(int32_t) GetTypeDll(void) { return 1; }
 *
 * The launcher looks exports up by their undecorated names ("GetTypeDll"). On i686 a
 * __stdcall function is decorated ("GetTypeDll@0" with MinGW, "_GetTypeDll@0" with MSVC), so
 * the plugin's build has to export the plain names in one of two ways:
 *   - a .def file listing the eight names (MSVC: /DEF:file.def; MinGW: add file.def to the
 *     link together with -Wl,--enable-stdcall-fixup). Leave KESTRUM_PLUGIN_DLLEXPORT undefined:
 *     with __declspec(dllexport) as well, MinGW exports both the plain and the decorated name.
 *   - MinGW only: define KESTRUM_PLUGIN_DLLEXPORT (the functions get __declspec(dllexport))
 *     and link with -Wl,--kill-at, which strips the "@n" from every exported name.
 * On x86_64 either way gives plain names. Check the result with `objdump -p plugin.dll`. */
#if defined(_WIN32)
#define KESTRUM_PLUGIN_CALL __stdcall
#else
#define KESTRUM_PLUGIN_CALL
#endif

#if defined(KESTRUM_PLUGIN_DLLEXPORT)
#define KESTRUM_PLUGIN_EXPORT __declspec(dllexport)
#else
#define KESTRUM_PLUGIN_EXPORT
#endif

#define KESTRUM_PLUGIN_API(type) KESTRUM_PLUGIN_EXPORT type KESTRUM_PLUGIN_CALL

/* ---- Buffers and codes -------------------------------------------------------------------
 *
 * Output text: the launcher passes a buffer of KESTRUM_PLUGIN_BUFFER_SIZE bytes, which it does
 * not clear (it holds whatever an earlier call left), and a pointer to a count. The plugin
 * writes its text in code page 1251 (Windows Cyrillic) to the start of the buffer and sets
 * *count to the number of bytes written. The launcher decodes the first *count bytes and stops
 * early at a zero byte; a count of 0 or less is an empty text; a count above the buffer size is
 * cut by the launcher, but the plugin must never write more than KESTRUM_PLUGIN_BUFFER_SIZE
 * bytes: the buffer ends there. A terminating zero is not needed (if written, do not count it).
 *
 * Input text: a pointer to bytes and their count, without a terminating zero. Never read past
 * the count.
 *
 * Return codes: KESTRUM_PLUGIN_OK (0) is success; any other value is a plugin error, which the
 * launcher treats as "no answer" and shows nothing for. KESTRUM_PLUGIN_MISSING_EXPORT (-999)
 * is what the launcher itself records for an export it cannot find: do not return it. */
#define KESTRUM_PLUGIN_BUFFER_SIZE 2048
#define KESTRUM_PLUGIN_OK 0
#define KESTRUM_PLUGIN_MISSING_EXPORT (-999)
/* GetTypeDll's answer that marks a library as a Kestrum plugin. */
#define KESTRUM_PLUGIN_TYPE_DLL 1

/* ---- Communication types -----------------------------------------------------------------
 *
 * GetTypeCommunication tells the launcher which connection fields to offer and which parameter
 * string ShowPlugin receives. The string holds the listed values in order, each followed by one
 * "," (so a non-empty string ends with ","), with no blanks, quoting or escaping:
 *   COM     serial port number in decimal ("3" for COM 3; "-1" when none is chosen)
 *   BAUD    baud rate as shown ("115200"; empty when none is chosen)
 *   IP      IP address;  PORT  TCP port;  LOG  logical device number
 *   DEV     0-based position of the chosen device in the plugin's own device list ("-1": none)
 *   CT      0 for RS232, 1 for TCP/IP
 *   COUNTRY the chosen country as the country list shows it ("BULGARIA")
 *   FLOW    flow control: 0 None, 1 Xon/Xoff, 2 RTS/CTS, 3 DTR/DSR, -1 none chosen
 *
 *   type  parameter string                                       example
 *    0    empty (count 0)
 *    1    COM,BAUD,                                              "3,115200,"
 *    2    PORT,IP,                                               "4999,127.0.0.1,"
 *    3    COM,
 *    4    PORT,IP,DEV,LOG,           (LOG defaults to 1)
 *    5    DEV,
 *    6    COM,BAUD,DEV,
 *    7    COM,BAUD,DEV,
 *    8    CT, then COM,BAUD, (CT 0) or IP,PORT, (CT 1), then LOG,DEV,   "1,127.0.0.1,4999,2,5,"
 *    9    COM,BAUD,DEV,0,                                        "1,9600,0,0,"
 *   10    COM,BAUD,DEV,COUNTRY,FLOW, (devices from GetSupportedDevices_Ex)
 *   11    COM,BAUD,LOG,DEV,          (RS232 forced, LOG defaults to 1)
 *   12    COM,BAUD,DEV,COUNTRY,                                  "4,115200,3,POLAND,"
 *
 * The string is in code page 1251, except for types 10 and 12, where it is in 1252 (Windows
 * Western European). A value outside 0..12 makes the launcher start nothing. */
#define KESTRUM_COMM_NONE 0
#define KESTRUM_COMM_SERIAL 1
#define KESTRUM_COMM_TCP 2
#define KESTRUM_COMM_SERIAL_PORT 3
#define KESTRUM_COMM_TCP_DEVICE 4
#define KESTRUM_COMM_DEVICE 5
#define KESTRUM_COMM_SERIAL_DEVICE 6
#define KESTRUM_COMM_SERIAL_DEVICE_2 7
#define KESTRUM_COMM_SERIAL_OR_TCP 8
#define KESTRUM_COMM_SERIAL_ZERO 9
#define KESTRUM_COMM_SERIAL_COUNTRY_FLOW 10
#define KESTRUM_COMM_SERIAL_LOGICAL 11
#define KESTRUM_COMM_SERIAL_COUNTRY 12

/* GetPluginIfno indexes. */
#define KESTRUM_INFO_AUTHOR 0
#define KESTRUM_INFO_DESCRIPTION 1
#define KESTRUM_INFO_CONTACTS 2
#define KESTRUM_INFO_DEVICES 3

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The eight exports -------------------------------------------------------------------- */

/* Returns KESTRUM_PLUGIN_TYPE_DLL (1). Any other value: the library is not a plugin and is
 * ignored. This is the one export whose result is not an error code. */
KESTRUM_PLUGIN_API(int32_t) GetTypeDll(void);

/* Writes the plugin's version text (for example "1.0.0.1"), shown under "Version:" in the
 * launcher's plugin information. A non-zero result rejects the plugin. */
KESTRUM_PLUGIN_API(int32_t) AreYouMine(char* buffer, int32_t* count);

/* Writes the country the plugin serves, exactly as the launcher's country list shows it:
 * upper-case English such as "BULGARIA" (the comparison with the chosen country counts letter
 * case). Several countries joined by "," ("POLAND,ROMANIA") make the launcher offer the plugin
 * for every country, and then the text adds no entry to the country list. A name the launcher
 * does not know yet is added to its country list. */
KESTRUM_PLUGIN_API(int32_t) GetCountry(char* buffer, int32_t* count);

/* Writes the plugin's own name (for example "Orvalis fiscal printers"); a blank text or a
 * non-zero result keeps the plugin's devices out of the device list. */
KESTRUM_PLUGIN_API(int32_t) GetDeviceName(char* buffer, int32_t* count);

/* Stores the communication type, 0..12 (KESTRUM_COMM_...), in *type. Asked when the device
 * list is built, when a device is selected and again at every start. */
KESTRUM_PLUGIN_API(int32_t) GetTypeCommunication(int32_t* type);

/* Asked only of plugins of type 10, instead of GetPluginIfno index 3: the chosen country in
 * code page 1252 (country bytes and their count, no terminating zero); writes the device names
 * for that country, one per line, lines separated by CR LF. */
KESTRUM_PLUGIN_API(int32_t)
GetSupportedDevices_Ex(const char* country, int32_t countryCount, char* buffer, int32_t* count);

/* Plugin information. The spelling "Ifno" is part of the contract: the launcher asks for
 * exactly this name. index 0 (KESTRUM_INFO_AUTHOR): author; 1: description; 2: contacts;
 * 3: the device names, one per line, separated by CR LF. A device's position in that text
 * (counting every line from 0) is the DEV value ShowPlugin receives. Names are taken as given:
 * leading and trailing blanks stay part of a name. */
KESTRUM_PLUGIN_API(int32_t) GetPluginIfno(int32_t index, char* buffer, int32_t* count);

/* Starts the plugin: params/count is the parameter string of the communication type (see
 * above; no terminating zero, count may be 0). The plugin runs its own user interface on the
 * calling (GUI) thread and returns when the user is done; the launcher's window stays hidden
 * until then. */
KESTRUM_PLUGIN_API(int32_t) ShowPlugin(const char* params, int32_t count);

/* Pointer types of the exports, for hosts and tests that load a plugin. */
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumGetTypeDllFn)(void);
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumTextOutFn)(char* buffer, int32_t* count);
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumGetTypeCommunicationFn)(int32_t* type);
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumGetSupportedDevicesExFn)(const char* country,
                                                                     int32_t countryCount, char* buffer,
                                                                     int32_t* count);
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumGetPluginIfnoFn)(int32_t index, char* buffer, int32_t* count);
typedef int32_t(KESTRUM_PLUGIN_CALL* KestrumShowPluginFn)(const char* params, int32_t count);

#ifdef __cplusplus
}
#endif

#endif /* KESTRUM_PLUGIN_H */
