// Cp210x: the device map, the bridge's USB instances, their driver's present devices and
// each instance's port name, all under HKEY_LOCAL_MACHINE.
#include "VEK_SYSTEM/Cp210x.h"

#include "VEK_SYSTEM/SComPort.h"
#include "VEK_UTIL/SDebug.h"

#include <windows.h>

#include <cstring>

namespace {

const char* const deviceMapKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* const bridgeKey = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_10c4&Pid_ea60";
const char* const bridgeDevicePrefix = "USB\\VID_10C4&PID_EA60\\";
const int maxDevices = 4096; // of one driver

// An open registry key, closed when it goes.
class RegistryKey {
public:
    RegistryKey(const char* path, REGSAM access) {
        status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key);
        if (status != ERROR_SUCCESS) key = nullptr;
    }
    ~RegistryKey() {
        if (key) RegCloseKey(key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isOpen() const { return key != nullptr; }
    LONG getStatus() const { return status; }
    HKEY get() const { return key; }

    // A value as text; a number (Windows keeps the driver's device count as one) in
    // decimal. Empty when missing or of another type.
    SString getText(const char* name) const {
        char data[1024];
        DWORD type = 0;
        DWORD size = sizeof data - 1;
        SString result;
        if (!key || RegQueryValueExA(key, name, nullptr, &type, (BYTE*)data, &size) != ERROR_SUCCESS) return result;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            data[size] = 0;
            result.setRaw(data);
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number;
            memcpy(&number, data, sizeof number);
            result.format("%lu", (unsigned long)number);
        }
        return result;
    }

private:
    HKEY key = nullptr;
    LONG status = ERROR_SUCCESS;
};

void addDeviceMap(SMapStringToString& list) {
    RegistryKey map(deviceMapKey, KEY_QUERY_VALUE);
    if (!map.isOpen()) return;
    for (DWORD i = 0;; ++i) {
        char name[256];
        char data[256];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        LONG r = RegEnumValueA(map.get(), i, name, &nameSize, nullptr, &type, (BYTE*)data, &dataSize);
        if (r == ERROR_MORE_DATA) continue; // a value too long for a port name
        if (r != ERROR_SUCCESS) break;
        if (type != REG_SZ) continue;
        data[dataSize] = 0;
        SString port;
        port.setRaw(data).trim();
        if (!port.isEmpty()) list.set(port, SString("serial port"));
    }
}

// Whether the driver `service` lists the bridge instance among its present devices. Its
// "Count" says how many values "0", "1", … follow; a wrong count (a damaged or hand-edited
// key) is not believed beyond the values that are there.
bool isPresent(const SString& service, const SString& instance) {
    RegistryKey devices("SYSTEM\\CurrentControlSet\\Services\\" + service + "\\Enum", KEY_QUERY_VALUE);
    if (service.isEmpty() || !devices.isOpen()) return false;
    int count = devices.getText("Count").toNumber();
    SString wanted = SString(bridgeDevicePrefix) + instance;
    for (int j = 0; j < count && j < maxDevices; ++j) {
        SString name;
        name.format("%d", j);
        SString device = devices.getText(name);
        if (device.isEmpty()) return false;
        if (device.compare(wanted, true) == 0) return true;
    }
    return false;
}

void addBridgeInstance(SMapStringToString& list, const SString& instance, bool onlyPresent) {
    SString path = SString(bridgeKey) + "\\" + instance;
    bool present = false;
    {
        RegistryKey key(path, KEY_QUERY_VALUE);
        if (key.isOpen()) present = isPresent(key.getText("Service"), instance);
    }
    RegistryKey parameters(path + "\\Device Parameters", KEY_QUERY_VALUE);
    if (!parameters.isOpen()) return;
    SString port = parameters.getText("PortName");
    if (port.isEmpty()) return; // nothing to name
    if (present) list.set(port, instance);
    else if (!onlyPresent) list.set(port, SString("offline - ") + instance);
}

} // namespace

bool Cp210x::getPortList(SMapStringToString& list, bool onlyPresent) {
    list.clear();
    addDeviceMap(list);
    RegistryKey bridges(bridgeKey, KEY_ENUMERATE_SUB_KEYS);
    if (!bridges.isOpen()) {
        globalDebug.printf("Cp210x::getPortList(..) Konnte Key nicht \366ffnen: %s",
                           SComPort::systemErrorText((unsigned)bridges.getStatus()).getBuffer());
        return list.count() > 0;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        LONG r = RegEnumKeyExA(bridges.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_MORE_DATA) continue;
        if (r != ERROR_SUCCESS) break;
        SString instance;
        instance.setRaw(name, (int)size);
        addBridgeInstance(list, instance, onlyPresent);
    }
    return list.count() > 0;
}
