# Checks that the shipped program is a PE32 GUI program that imports only libraries
# that Windows always loads from its system folder, and no function that Windows XP SP3
# lacks.
cmake_minimum_required(VERSION 3.25)
# Usage: cmake -DOBJDUMP=... -DEXE=... [-DALSO_ALLOWED=a.dll;b.dll] -P check-pe.cmake
# ALSO_ALLOWED: libraries allowed besides those below (the setup program's stub imports
# comctl32, which the manifest binds to the system's side-by-side copy, and ole32, a
# known DLL).

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()

set(failures "")
if(NOT dump MATCHES "file format pei-i386")
  list(APPEND failures "not a PE32 (i386) image")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+00000002")
  list(APPEND failures "not a Windows GUI program (subsystem 2)")
endif()

# The loader takes an imported library from the program's own folder first, before the
# program runs, unless Windows keeps it among its known libraries (or one of those has
# loaded it already): on every Windows from XP to 11, only these. The program is started
# with administrator rights from wherever it was unpacked, so anything else (version.dll
# is the classic one) would run with them from a Downloads folder; it is loaded at run
# time from the system folder instead.
set(system_dlls kernel32.dll user32.dll gdi32.dll shell32.dll advapi32.dll msvcrt.dll)
foreach(dll IN LISTS ALSO_ALLOWED)
  string(TOLOWER "${dll}" dll)
  list(APPEND system_dlls ${dll})
endforeach()
string(REGEX MATCHALL "DLL Name: [^\n]+" dll_lines "${dump}")
set(dll_count 0)
foreach(line IN LISTS dll_lines)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll_lower)
  math(EXPR dll_count "${dll_count} + 1")
  if(NOT dll_lower IN_LIST system_dlls)
    list(APPEND failures "imports from ${dll}, which Windows may load from the program's folder")
  endif()
endforeach()
if(dll_count EQUAL 0)
  list(APPEND failures "no import table found: the dump format is not understood")
endif()

# Exports that appeared with Vista or later (or Server 2003): an import of any of
# them stops the program from loading on XP.
set(post_xp_functions
  GetTickCount64 GetSystemTimePreciseAsFileTime
  InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
  WakeConditionVariable WakeAllConditionVariable
  InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive
  ReleaseSRWLockShared TryAcquireSRWLockExclusive TryAcquireSRWLockShared
  InitOnceInitialize InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete
  InitializeCriticalSectionEx CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW
  CreateSemaphoreExA CreateSemaphoreExW FlsAlloc FlsFree FlsGetValue FlsSetValue
  GetCurrentProcessorNumber GetThreadId GetProcessIdOfThread SetThreadStackGuarantee
  QueryFullProcessImageNameA QueryFullProcessImageNameW GetFinalPathNameByHandleA
  GetFinalPathNameByHandleW CreateSymbolicLinkA CreateSymbolicLinkW
  GetFileInformationByHandleEx SetFileInformationByHandle CancelIoEx
  GetQueuedCompletionStatusEx CompareStringEx LCMapStringEx GetLocaleInfoEx
  GetUserDefaultLocaleName ResolveLocaleName GetErrorMode
  CreateThreadpoolWork SubmitThreadpoolWork TrySubmitThreadpoolCallback
  RegGetValueA RegGetValueW RegDeleteTreeA RegDeleteTreeW RegSetKeyValueA RegSetKeyValueW
  ChangeWindowMessageFilter ChangeWindowMessageFilterEx SetProcessDPIAware
  SHGetKnownFolderPath SHCreateItemFromParsingName TaskDialog TaskDialogIndirect
  K32GetModuleFileNameExA K32EnumProcesses)
foreach(fn IN LISTS post_xp_functions)
  if(dump MATCHES "[ \t]${fn}\n")
    list(APPEND failures "imports ${fn}, which Windows XP lacks")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${EXE}:\n  ${text}")
endif()
message(STATUS "${EXE}: PE32 GUI, imports from ${dll_count} known system DLLs only, no post-XP imports")
