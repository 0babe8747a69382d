/* A stand-in for the PawnIO driver with its LpcACPIEC module, for the tests under Wine:
 * it creates \Device\PawnIO, takes the driver's three control codes, and serves the
 * module's two port operations from the simulated EC (tools/simec), so that both port
 * layers of vantu run against the same EC.
 *
 * Wine runs kernel drivers inside a user process (winedevice.exe), but loads only
 * those whose imports are the kernel's: this one imports ntoskrnl alone and finds the
 * process's kernel32 through the process environment block, to load the simulated
 * EC's library named by the service's Parameters\Library value (read at each open).
 * A real driver could do none of this; it is a test double only. */
/* The program's headers aim at Windows XP; the driver kit's need a newer target. */
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#include <ddk/wdm.h>
#include <ddk/ntimage.h>
#include <intrin.h>

#define IOCTL_LOAD_MODULE 0xA1B22084u
#define IOCTL_EXECUTE 0xA1B22104u
#define IOCTL_VERSION 0xA1B22184u
#define NAME_SIZE 32
#define STAND_IN_VERSION 0x00020000ull
#define POOL_TAG 0x6F497750u /* "PwIo" */

typedef PVOID(__stdcall *LoadLibraryWFn)(const WCHAR *path);
typedef PVOID(__stdcall *GetProcAddressFn)(PVOID module, const char *name);
typedef BOOLEAN(__stdcall *FreeLibraryFn)(PVOID module);
typedef UCHAR(__stdcall *GetPortValFn)(USHORT port, ULONG *value, UCHAR size);
typedef UCHAR(__stdcall *SetPortValFn)(USHORT port, ULONG value, UCHAR size);
typedef void(__stdcall *NoteFn)(const char *line);

/* What one open handle holds: its own reference to the simulated EC's library, and
 * whether the module was loaded into it (one module per handle). */
typedef struct {
    PVOID library;
    GetPortValFn getPort;
    SetPortValFn setPort;
    NoteFn note;
    BOOLEAN moduleLoaded;
} Handle;

static UNICODE_STRING parametersKey;
static LoadLibraryWFn loadLibrary;
static GetProcAddressFn getProcAddress;
static FreeLibraryFn freeLibrary;

/* The start of the process environment block and its loader data, as laid out on
 * either architecture. */
typedef struct { UCHAR flags[4]; PVOID mutant; PVOID imageBase; PVOID loaderData; } PebStart;
typedef struct { ULONG length; UCHAR initialized; PVOID ssHandle; LIST_ENTRY inLoadOrder; } LoaderData;
typedef struct {
    LIST_ENTRY inLoadOrder, inMemoryOrder, inInitializationOrder;
    PVOID base;
    PVOID entryPoint;
    ULONG size;
    UNICODE_STRING fullName, baseName;
} LoaderEntry;

/* GCC takes the segment-relative read for an access to an empty array. */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
static PebStart *Peb(void) {
#ifdef _WIN64
    return (PebStart *)__readgsqword(0x60);
#else
    return (PebStart *)__readfsdword(0x30);
#endif
}
#pragma GCC diagnostic pop

static BOOLEAN IsName(const UNICODE_STRING *name, const WCHAR *lower) {
    USHORT i, length = name->Length / sizeof(WCHAR);
    for (i = 0; i < length && lower[i]; ++i) {
        WCHAR c = name->Buffer[i];
        if (c >= L'A' && c <= L'Z')
            c += L'a' - L'A';
        if (c != lower[i])
            return FALSE;
    }
    return i == length && !lower[i];
}

static PVOID Export(PUCHAR base, const char *name) {
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY *exports = &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY *directory = (const IMAGE_EXPORT_DIRECTORY *)(base + exports->VirtualAddress);
    const ULONG *names = (const ULONG *)(base + directory->AddressOfNames);
    const USHORT *ordinals = (const USHORT *)(base + directory->AddressOfNameOrdinals);
    const ULONG *functions = (const ULONG *)(base + directory->AddressOfFunctions);
    for (ULONG i = 0; i < directory->NumberOfNames; ++i)
        if (strcmp((const char *)(base + names[i]), name) == 0)
            return base + functions[ordinals[i]];
    return NULL;
}

static BOOLEAN FindKernel32(void) {
    LoaderData *loader = (LoaderData *)Peb()->loaderData;
    for (LIST_ENTRY *e = loader->inLoadOrder.Flink; e != &loader->inLoadOrder; e = e->Flink) {
        const LoaderEntry *module = (const LoaderEntry *)e;
        if (IsName(&module->baseName, L"kernel32.dll")) {
            loadLibrary = (LoadLibraryWFn)Export(module->base, "LoadLibraryW");
            getProcAddress = (GetProcAddressFn)Export(module->base, "GetProcAddress");
            freeLibrary = (FreeLibraryFn)Export(module->base, "FreeLibrary");
        }
    }
    return loadLibrary && getProcAddress && freeLibrary;
}

/* The simulated EC's library for a new handle, from Parameters\Library. */
static BOOLEAN OpenLibrary(Handle *handle) {
    OBJECT_ATTRIBUTES attributes;
    UNICODE_STRING value;
    HANDLE key;
    UCHAR buffer[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 520 * sizeof(WCHAR)] = {0};
    KEY_VALUE_PARTIAL_INFORMATION *info = (KEY_VALUE_PARTIAL_INFORMATION *)buffer;
    ULONG got = 0;
    InitializeObjectAttributes(&attributes, &parametersKey, OBJ_CASE_INSENSITIVE, NULL, NULL);
    if (!NT_SUCCESS(ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes)))
        return FALSE;
    RtlInitUnicodeString(&value, L"Library");
    /* One WCHAR short of the buffer's end, so that the path stays terminated. */
    const NTSTATUS status = ZwQueryValueKey(key, &value, KeyValuePartialInformation, info,
                                            sizeof buffer - sizeof(WCHAR), &got);
    ZwClose(key);
    if (!NT_SUCCESS(status) || info->Type != REG_SZ)
        return FALSE;
    handle->library = loadLibrary((const WCHAR *)info->Data);
    if (!handle->library)
        return FALSE;
    handle->getPort = (GetPortValFn)getProcAddress(handle->library, "GetPortVal");
    handle->setPort = (SetPortValFn)getProcAddress(handle->library, "SetPortVal");
    handle->note = (NoteFn)getProcAddress(handle->library, "SimEcNote");
    if (handle->getPort && handle->setPort && handle->note)
        return TRUE;
    freeLibrary(handle->library);
    return FALSE;
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS Refuse(PIRP irp, Handle *handle, const char *why, NTSTATUS status) {
    handle->note(why);
    return Complete(irp, status, 0);
}

static BOOLEAN IsFunction(const UCHAR *request, const char *name) {
    size_t length = strlen(name);
    for (size_t i = length; i < NAME_SIZE; ++i)
        if (request[i] != 0)
            return FALSE;
    return memcmp(request, name, length) == 0;
}

static ULONG64 Argument(const UCHAR *request, ULONG index) {
    ULONG64 value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | request[NAME_SIZE + 8 * index + i];
    return value;
}

/* The LpcACPIEC module's two operations, the EC's ports only. */
static NTSTATUS ExecuteModule(PIRP irp, Handle *handle, ULONG inSize, ULONG outSize) {
    const UCHAR *request = irp->AssociatedIrp.SystemBuffer;
    if (!handle->moduleLoaded)
        return Refuse(irp, handle, "PAWNIO REFUSED no module", STATUS_INVALID_DEVICE_STATE);
    if (inSize < NAME_SIZE)
        return Refuse(irp, handle, "PAWNIO REFUSED short request", STATUS_INVALID_PARAMETER);
    const ULONG arguments = (inSize - NAME_SIZE) / 8;
    const BOOLEAN read = IsFunction(request, "ioctl_pio_read"), write = IsFunction(request, "ioctl_pio_write");
    if (!(read && arguments == 1 && outSize >= 8) && !(write && arguments == 2))
        return Refuse(irp, handle, "PAWNIO REFUSED function", STATUS_INVALID_PARAMETER);
    const ULONG64 port = Argument(request, 0);
    if (port != 0x62 && port != 0x66)
        return Refuse(irp, handle, "PAWNIO REFUSED port", STATUS_ACCESS_DENIED);
    if (write)
        return Complete(irp, handle->setPort((USHORT)port, (ULONG)(Argument(request, 1) & 0xFF), 1)
                                 ? STATUS_SUCCESS : STATUS_IO_DEVICE_ERROR, 0);
    ULONG value = 0;
    if (!handle->getPort((USHORT)port, &value, 1))
        return Complete(irp, STATUS_IO_DEVICE_ERROR, 0);
    UCHAR *answer = irp->AssociatedIrp.SystemBuffer;
    for (int i = 0; i < 8; ++i)
        answer[i] = i == 0 ? (UCHAR)value : 0;
    return Complete(irp, STATUS_SUCCESS, 8);
}

static NTSTATUS Control(PIRP irp, Handle *handle, const IO_STACK_LOCATION *stack) {
    static const char module[] = PAWNIO_TEST_MODULE;
    const ULONG inSize = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
        case IOCTL_LOAD_MODULE:
            if (handle->moduleLoaded || inSize != sizeof module - 1 ||
                memcmp(irp->AssociatedIrp.SystemBuffer, module, inSize) != 0)
                return Refuse(irp, handle, "PAWNIO REFUSED module", STATUS_INVALID_IMAGE_HASH);
            handle->moduleLoaded = TRUE;
            handle->note("PAWNIO LOAD");
            return Complete(irp, STATUS_SUCCESS, 0);
        case IOCTL_EXECUTE:
            return ExecuteModule(irp, handle, inSize, outSize);
        case IOCTL_VERSION:
            if (outSize < 8)
                return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
            *(ULONG64 *)irp->AssociatedIrp.SystemBuffer = STAND_IN_VERSION;
            return Complete(irp, STATUS_SUCCESS, 8);
        default:
            return Refuse(irp, handle, "PAWNIO REFUSED control code", STATUS_INVALID_DEVICE_REQUEST);
    }
}

static NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT device, PIRP irp) {
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    Handle *handle = stack->FileObject ? stack->FileObject->FsContext : NULL;
    (void)device;
    switch (stack->MajorFunction) {
        case IRP_MJ_CREATE:
            handle = ExAllocatePoolWithTag(NonPagedPool, sizeof *handle, POOL_TAG);
            if (!handle)
                return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
            RtlZeroMemory(handle, sizeof *handle);
            if (!OpenLibrary(handle)) {
                ExFreePoolWithTag(handle, POOL_TAG);
                return Complete(irp, STATUS_NO_SUCH_DEVICE, 0);
            }
            stack->FileObject->FsContext = handle;
            handle->note("PAWNIO OPEN");
            return Complete(irp, STATUS_SUCCESS, 0);
        case IRP_MJ_CLOSE:
            if (handle) {
                handle->note("PAWNIO CLOSE");
                freeLibrary(handle->library);
                ExFreePoolWithTag(handle, POOL_TAG);
                stack->FileObject->FsContext = NULL;
            }
            return Complete(irp, STATUS_SUCCESS, 0);
        case IRP_MJ_DEVICE_CONTROL:
            return handle ? Control(irp, handle, stack) : Complete(irp, STATUS_INVALID_HANDLE, 0);
        default:
            return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    static WCHAR keyPath[512];
    static const WCHAR parameters[] = L"\\Parameters";
    UNICODE_STRING name, link;
    PDEVICE_OBJECT device;
    if (!FindKernel32())
        return STATUS_PROCEDURE_NOT_FOUND;
    parametersKey.Buffer = keyPath;
    parametersKey.MaximumLength = sizeof keyPath;
    if (!NT_SUCCESS(RtlAppendUnicodeStringToString(&parametersKey, registryPath)) ||
        !NT_SUCCESS(RtlAppendUnicodeToString(&parametersKey, parameters)))
        return STATUS_NAME_TOO_LONG;
    RtlInitUnicodeString(&name, L"\\Device\\PawnIO");
    RtlInitUnicodeString(&link, L"\\DosDevices\\PawnIO");
    NTSTATUS status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;
    IoCreateSymbolicLink(&link, &name);
    driver->MajorFunction[IRP_MJ_CREATE] = Dispatch;
    driver->MajorFunction[IRP_MJ_CLOSE] = Dispatch;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = Dispatch;
    return STATUS_SUCCESS;
}
