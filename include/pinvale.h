/*
 * pinvale.h - the exports of Pinvale.dll, for C (C89 and later) and C++ hosts.
 *
 * Link with libPinvale.dll.a (MinGW) or Pinvale.lib (MSVC), or load the library with
 * LoadLibraryW and take the functions by name with GetProcAddress. Every export uses
 * the stdcall convention; every parameter and result is 32 bits wide but for the job
 * handle, the window handle and the strings, which are pointer-sized.
 *
 * Strings are UTF-16 (wchar_t on Windows). An input string is read up to its first NUL;
 * a null pointer reads as the empty string. An output string is written, with one NUL
 * after it, from the start of Buffer; no buffer size is passed, so Buffer must have room
 * for the result plus one code units. Results that are lengths count UTF-16 code units
 * without the NUL.
 *
 * A failure inside an export (the job file cannot be made or saved, the registry value
 * InstallPath is not text, memory runs out) reaches the host as a structured exception,
 * described by the PINVALE_FAILURE_* constants below. docs/host.md tells how to catch it.
 */
#ifndef PINVALE_H
#define PINVALE_H

#include <stddef.h> /* wchar_t */

#if defined(_WIN32)
#define PINVALE_API __stdcall
#else
#define PINVALE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A lock job, from OpenPresentation until ClosePresentation. Opaque, pointer-sized. */
typedef struct PinvaleJobRecord *PinvaleJob;

/* An owner window for a message box (an HWND); null for none. */
typedef void *PinvaleWindow;

/* The library's Boolean: all 32 bits set for true, not 1. */
typedef int PinvaleBool32;
#define PINVALE_TRUE (-1)
#define PINVALE_FALSE 0

/* The failure signal: an exception raised with RaiseException. */
#define PINVALE_FAILURE_CODE 0xE0504E56UL /* ExceptionCode */
#define PINVALE_FAILURE_FLAGS 1UL         /* ExceptionFlags: EXCEPTION_NONCONTINUABLE */
#define PINVALE_FAILURE_ARGUMENTS 2       /* NumberParameters */
#define PINVALE_FAILURE_MESSAGE 0 /* ExceptionInformation[0]: const wchar_t *, NUL-terminated,
                                     valid on the raising thread until its next failure */
#define PINVALE_FAILURE_CLASS 1   /* ExceptionInformation[1]: one of the PINVALE_ERROR_* */

#define PINVALE_ERROR_IO 1            /* a file operation failed; the system's message */
#define PINVALE_ERROR_FILE_CREATE 2   /* the job file could not be written */
#define PINVALE_ERROR_REGISTRY 3      /* the registry value InstallPath is not text */
#define PINVALE_ERROR_OUT_OF_MEMORY 4
#define PINVALE_ERROR_OTHER 5

/* Lock jobs. Calling order: OpenPresentation; any number of the three Add calls, in any
 * mix; ProcessPresentation as often as wanted (more Add calls may follow); then
 * ClosePresentation exactly once. A null Presentation makes the Add calls and
 * ClosePresentation do nothing and ProcessPresentation return PINVALE_FALSE. */

/* Ordinal 6. FileName: input string. Null when the file does not exist (a folder is no file). */
PinvaleJob PINVALE_API OpenPresentation(const wchar_t *FileName);
/* Ordinal 5. No strings, no buffer. Records Locks for shape ShapeId of slide SlideIndex. */
void PINVALE_API AddSlideLockInfo(PinvaleJob Presentation, int SlideIndex, int ShapeId, int Locks);
/* Ordinal 4. No strings, no buffer. Records Locks for shape ShapeId of master MasterIndex. */
void PINVALE_API AddSlideMasterLockInfo(PinvaleJob Presentation, int MasterIndex, int ShapeId, int Locks);
/* Ordinal 3. No strings, no buffer. Records Locks for shape ShapeId of layout LayoutIndex. */
void PINVALE_API AddSlideLayoutLockInfo(PinvaleJob Presentation, int LayoutIndex, int ShapeId, int Locks);
/* Ordinal 2. No buffer. Saves the job file, runs the runner to its end; PINVALE_TRUE once it ran. */
PinvaleBool32 PINVALE_API ProcessPresentation(PinvaleJob Presentation);
/* Ordinal 1. No buffer. Deletes the job file and frees the job; the handle is then invalid. */
void PINVALE_API ClosePresentation(PinvaleJob Presentation);

/* Captions and message boxes. LangID and CaptionID are accepted and take no part in the text. */

/* Ordinal 8. Text: input; Buffer: output, or null to ask for the length only. Returns the length. */
int PINVALE_API GetLocaleCaptionWS(int LangID, int CaptionID, const wchar_t *Text, wchar_t *Buffer);
/* Ordinal 7. Text, Param1, Param2: inputs; Buffer: output, or null for the length only. Returns the length. */
int PINVALE_API FormatLocaleCaptionWS(int LangID, int CaptionID, const wchar_t *Text, wchar_t *Buffer,
                                      const wchar_t *Param1, const wchar_t *Param2);
/* Ordinal 10. Text, Title: inputs, no buffer. Shows a modal box; returns the chosen button's id, or 0. */
int PINVALE_API ShowMessageDialog(int LangID, PinvaleWindow Wnd, const wchar_t *Text, const wchar_t *Title,
                                  int CaptionID, unsigned int Flags);
/* Ordinal 9. Text, Title, Param1: inputs, no buffer. As ShowMessageDialog, with "%s1%" replaced. */
int PINVALE_API FormatMessageDialog(int LangID, PinvaleWindow Wnd, const wchar_t *Text, const wchar_t *Title,
                                    const wchar_t *Param1, int CaptionID, unsigned int Flags);
/* Ordinal 11. Buffer: output, or null for the length only. Returns the length; 0 with no install path. */
int PINVALE_API GetMessagesFolder(wchar_t *Buffer);

/* Ordinal 17. No strings, no buffer. Shows the About box modally; returns once it is closed. */
void PINVALE_API ShowAboutForm(void);

/* Ordinal 16. Does nothing; a host may call it or not. */
void PINVALE_API InitializeKeelmark(void);
/* Ordinal 15. Does nothing; a host may call it or not. */
void PINVALE_API ShutdownKeelmark(void);

#ifdef __cplusplus
}
#endif

#endif /* PINVALE_H */
