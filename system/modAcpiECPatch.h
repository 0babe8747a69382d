#pragma once
// The ACPIEC driver patch: a copy of acpiec.sys that frees its event-log entries
// instead of writing them, acpiec_nolog.sys beside it, and the ACPIEC service pointed
// at the copy or back at the original. Changes take effect at the next restart.
//
// Patch and unpatch return the message for the user (the caller shows it, captioned
// with the application title, OK only): the restart request, or the patch's failure.
#include "system/Files.h"

namespace modAcpiECPatch {

// The service's "ImagePath" names a patched copy: what the next start will load.
bool IsACPIECPatched();

// Reads acpiec.sys, patches it and replaces acpiec_nolog.sys with it whole; only then
// points "ImagePath" at the copy (when the service key exists). On any failure
// "ImagePath" and an earlier copy stay as they were. `write` as for
// ReplaceFileContents.
const char* PatchACPIEC(ByteWriter write = WriteAllBytes);

// Points "ImagePath" back at acpiec.sys (when the service key exists); the copy stays.
const char* UnpatchACPIEC();

}  // namespace modAcpiECPatch
