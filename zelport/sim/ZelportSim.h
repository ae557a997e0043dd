/* Control entry points of the simulated vendor library (ZELPORT.so over sim/, and the
 * simulated ZELPORT.dll, where they are __cdecl), for tests that drive the tool against
 * simulated printers in one process. The tool itself never calls them. All may be called from
 * any thread; printer numbers count from 0 in configuration order.
 *
 * On Windows the tool's file calls go to the system, so the DLL serves every write before its
 * WriteFile returns while a time sink is set, and breaks the in-pipe at once, after charging
 * the time limit, when an inquiry gets no reply. It writes no trace. */
#ifndef ZELPORT_SIM_ZELPORTSIM_H
#define ZELPORT_SIM_ZELPORTSIM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Makes the link charge its transfer time (a slow link's, see "link-rate") by calling
 * `advance` from the library's thread, before the write or read that it delays returns,
 * instead of holding the transfer in real time. Null returns to real time. `advance` must not
 * call back into the library. */
void ZelportSimSetTimeSink(void (*advance)(uint32_t milliseconds));
typedef void (*PFN_ZelportSimSetTimeSink)(void (*)(uint32_t));

/* Replaces the configuration and every printer, as a new start of the library would:
 * `configText` holds what an RXT9_SIM_CONFIG file holds (null: the default printer);
 * `statePath` names the state file (null: nothing persists); `tracePath` names a trace file
 * (null: no trace; the DLL refuses any other). Handles opened before stop working: their reads end,
 * their writes fail or vanish. Returns 1 when the configuration was accepted; 0 when it was
 * refused, with the reason on stderr, and then every open fails. */
int ZelportSimReset(const char* configText, const char* statePath, const char* tracePath);
typedef int (*PFN_ZelportSimReset)(const char*, const char*, const char*);

/* Returns once the library's thread has handled every write and every close(2) that the
 * caller's thread made before the call (replies a slow link holds back in real time may still
 * be on their way). */
void ZelportSimSettle(void);
typedef void (*PFN_ZelportSimSettle)(void);

/* Number of configured printers, attached or not. */
uint32_t ZelportSimPrinterCount(void);
typedef uint32_t (*PFN_ZelportSimPrinterCount)(void);

/* What printer `printer` received, one line per command or image, each ending in '\n':
 *   download-mode | restart | version-inquiry | status-inquiry | identity-read
 *   prepare <area> | start-write <area>
 *   data <area>: <n> bytes in <k> transfers, <complete | receiving | stopped before the S7
 *       record | discarded, area not prepared | <fault> at line <l>>
 *   stray <n> bytes: <first bytes>      (data outside an image)
 *   unknown <n> bytes: <first bytes>    (begins with ESC, but no command)
 * A command the printer ignores in its mode carries a note in parentheses. Copies at most
 * size - 1 characters and a terminating NUL into `buffer` (null with size 0 to ask the
 * length); returns the length of the whole log, 0 for no such printer. */
size_t ZelportSimReceivedLog(uint32_t printer, char* buffer, size_t size);
typedef size_t (*PFN_ZelportSimReceivedLog)(uint32_t, char*, size_t);

/* What the printer now reports for an area (letter p, t, c, f or s): 6 version bytes and the
 * checksum. Returns 1, or 0 for no such printer or area. */
int ZelportSimFirmware(uint32_t printer, char area, uint8_t version[6], uint16_t* checksum);
typedef int (*PFN_ZelportSimFirmware)(uint32_t, char, uint8_t*, uint16_t*);

/* 1 when the printer is in download mode, 0 when not, -1 for no such printer. */
int ZelportSimInDownloadMode(uint32_t printer);
typedef int (*PFN_ZelportSimInDownloadMode)(uint32_t);

/* 1 while the printer is attached, 0 after it was unplugged, -1 for no such printer. */
int ZelportSimIsAttached(uint32_t printer);
typedef int (*PFN_ZelportSimIsAttached)(uint32_t);

/* What the library cannot simulate, as ZELPORT_SIM_LIMIT_ bits; 0 for ZELPORT.so. */
#define ZELPORT_SIM_LIMIT_NO_SHORT_WRITES 1u        /* refuses "write-short" */
#define ZELPORT_SIM_LIMIT_FAILED_WRITE_ENDS_PIPE 2u /* later writes to that out-pipe fail too */
uint32_t ZelportSimLimits(void);
typedef uint32_t (*PFN_ZelportSimLimits)(void);

/* Number of handles (control handles and pipes, of every configuration) that the library
 * handed out and that are not closed yet. Call ZelportSimSettle first so that closes made
 * just before are counted. */
uint32_t ZelportSimOpenHandles(void);
typedef uint32_t (*PFN_ZelportSimOpenHandles)(void);

#ifdef __cplusplus
}
#endif

#endif
