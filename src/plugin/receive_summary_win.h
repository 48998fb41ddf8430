// The Win32 side of the end of a retrieval: the summary command the host runs from its
// message loop and the end-of-retrieval entry point's work.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/host_api.h"

// Registered with the host at start-up; the parameter is not used.
void TW_STDCALL ReceiveSummaryCommand(HostWindow window, intptr_t parameter);

// APCFolderEndRetrieve for the folder window.
void EndRetrievalOfFrame(HWND frame);
