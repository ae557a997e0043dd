/* Control entry points of the simulated ZELPORT.dll, for tests that drive the tool against
 * simulated printers in one process. The tool itself never calls them. __cdecl in every
 * build of the library. */
#ifndef ZELPORT_SIMDLL_ZELPORTSIMDLL_H
#define ZELPORT_SIMDLL_ZELPORTSIMDLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Replaces the configuration and every printer: `configText` holds what an RXT9_SIM_CONFIG
 * file holds (null: the default printer); `statePath` names the state file (null: nothing
 * persists). Pipes opened before break. 1 when the configuration was accepted. */
int ZelportSimReset(const char* configText, const char* statePath);
typedef int (*PFN_ZelportSimReset)(const char*, const char*);

/* What the printer now reports for an area (letter p, t, c, f or s). 1, or 0 for no such
 * printer or area. */
int ZelportSimFirmware(uint32_t printer, char area, uint8_t version[6], uint16_t* checksum);
typedef int (*PFN_ZelportSimFirmware)(uint32_t, char, uint8_t*, uint16_t*);

/* Handles the library handed out whose tool side is still open; the server side of an
 * out-pipe notices a close on its own thread, a moment later. */
uint32_t ZelportSimOpenHandles(void);
typedef uint32_t (*PFN_ZelportSimOpenHandles)(void);

#ifdef __cplusplus
}
#endif

#endif
