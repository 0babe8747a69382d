#include "system/modAcpiECPatch.h"

#include "system/AcpiEcPatch.h"
#include "system/KnownFolders.h"
#include "system/modRegistry.h"

namespace modAcpiECPatch {

namespace {

using namespace AcpiEcPatch;

// The Windows folder is not checked: an empty one gives a path that does not open.
std::string DriverPath(const char* file) {
    return KnownFolders::WindowsFolder() + "\\" + DriversFolder + file;
}

// A missing key is left missing: the service is not there to point anywhere.
void PointServiceAt(const char* file) {
    if (modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, ServiceKey))
        modRegistry::RegWriteValue(HKEY_LOCAL_MACHINE, ServiceKey, ImagePathValue,
                                   RegistryValue::OfText(std::string(DriversFolder) + file));
}

}  // namespace

bool IsACPIECPatched() {
    if (!modRegistry::RegKeyExists(HKEY_LOCAL_MACHINE, ServiceKey))
        return false;
    const RegistryValue imagePath =
        modRegistry::RegReadValue(HKEY_LOCAL_MACHINE, ServiceKey, ImagePathValue);
    return !imagePath.IsNumber && IsPatchedImagePath(imagePath.Text);
}

const char* PatchACPIEC(ByteWriter write) {
    const auto driver = ReadWholeFile(DriverPath(DriverFile));
    if (!driver)
        return FailureMessage;
    const auto patched = PatchedDriver(*driver);
    if (!patched || !ReplaceFileContents(DriverPath(PatchedDriverFile), *patched, write))
        return FailureMessage;
    PointServiceAt(PatchedDriverFile);
    return RestartMessage;
}

const char* UnpatchACPIEC() {
    PointServiceAt(DriverFile);
    return RestartMessage;
}

}  // namespace modAcpiECPatch
