#include "KavoSettings.h"

#include "HiveFile.h"
#include "RegistryHive.h"
#include "TextConversion.h"

#include <cstring>

using kvds::HiveFile;
using kvds::IKavoSettings;
using kvds::RegistryHive;
using kvds::RegistryValue;
using kvds::SettingsAccess;

namespace {

const std::u16string kRootPath = u"SOFTWARE\\Kavo\\";

using Bytes = std::basic_string<unsigned char>;

bool AcceptInteger(uint32_t type, size_t size)
{
    return (type == kvds::RegQword || type == kvds::RegDword) && (size == 4 || size == 8);
}
bool AcceptDword(uint32_t type, size_t size)
{
    return type == kvds::RegDword && size == 4;
}
bool AcceptQword(uint32_t type, size_t size)
{
    return type == kvds::RegQword && size == 8;
}
bool AcceptString(uint32_t type, size_t size)
{
    return type == kvds::RegSz && size > 0;
}
bool AcceptBinary(uint32_t type, size_t size)
{
    return type == kvds::RegBinary && size > 0;
}

Bytes LittleEndian(uint64_t v, int bytes)
{
    Bytes out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
    return out;
}

uint64_t FromLittleEndian(const Bytes& data)
{
    uint64_t v = 0;
    for (size_t i = 0; i < data.size() && i < 8; ++i)
        v |= uint64_t(data[i]) << (8 * i);
    return v;
}

size_t SplitAt(const std::u16string& path)
{
    return path.find_first_of(u"/\\");
}

HiveFile HiveFor(bool user)
{
    return HiveFile(user ? HiveFile::CurrentUser : HiveFile::LocalMachine);
}

// Narrow names and paths that are not valid UTF-8 become empty and so fail.
std::u16string W(const std::string& s)
{
    return Utf8ToWide(s);
}

void InsertNarrow(const std::set<std::u16string>& wide, std::set<std::string>& narrow)
{
    for (const auto& name : wide) {
        std::string n = WideToUtf8(name);
        if (!n.empty())
            narrow.insert(std::move(n));
    }
}

// The count and UTF-8 forms of a name listing, both served by its UTF-16 form.
template <class ListWide> bool CountNames(ListWide listWide, uint32_t& count)
{
    std::set<std::u16string> names;
    if (!listWide(names))
        return false;
    count = uint32_t(names.size());
    return true;
}

template <class ListWide> bool NarrowNames(ListWide listWide, std::set<std::string>& names)
{
    names.clear();
    std::set<std::u16string> wide;
    if (!listWide(wide))
        return false;
    InsertNarrow(wide, names);
    return true;
}

// Every integer width is stored as a 64-bit value; narrower reads keep its low bits.
template <class T> bool ReadInteger(KavoSettings& settings, const std::u16string& name, T& value)
{
    int64_t v = 0;
    if (!settings.GetValue(name, v))
        return false;
    value = static_cast<T>(static_cast<uint64_t>(v));
    return true;
}

} // namespace

KavoSettings::KavoSettings(const std::u16string& name, SettingsAccess mode, KavoSettings* parent)
    : m_path(parent ? parent->m_path + u"\\" + name : kRootPath + name), m_name(name), m_mode(mode)
{
    if (parent)
        parent->m_children[name] = this;
}

KavoSettings::~KavoSettings() = default;

bool KavoSettings::IsDeletablePath(const std::u16string& fullPath)
{
    return fullPath.size() > kRootPath.size() &&
           fullPath.compare(0, kRootPath.size(), kRootPath) == 0;
}

bool KavoSettings::UsesUser() const
{
    switch (m_mode) {
    case kvds::CurrentUserReadWrite:
    case kvds::UserThenMachineReadWrite:
    case kvds::CurrentUserRead:
    case kvds::UserThenMachineRead:
    case kvds::CurrentUserCreate:
    case kvds::UserCreateMachineOpen:
        return true;
    default:
        return false;
    }
}

bool KavoSettings::UsesMachine() const
{
    switch (m_mode) {
    case kvds::UserThenMachineReadWrite:
    case kvds::MachineReadWrite:
    case kvds::UserThenMachineRead:
    case kvds::MachineRead:
    case kvds::UserCreateMachineOpen:
    case kvds::MachineCreate:
        return true;
    default:
        return false;
    }
}

bool KavoSettings::HasFallback() const
{
    return m_mode == kvds::UserThenMachineReadWrite || m_mode == kvds::UserThenMachineRead ||
           m_mode == kvds::UserCreateMachineOpen;
}

bool KavoSettings::PrimaryIsUser() const
{
    return UsesUser();
}

bool KavoSettings::PrimaryWritable() const
{
    return m_mode != kvds::CurrentUserRead && m_mode != kvds::UserThenMachineRead &&
           m_mode != kvds::MachineRead;
}

bool KavoSettings::OpenHive(bool user, bool create, bool writeAccess)
{
    if (!RegistryHive::IsValidKeyPath(m_path))
        return false;
    const HiveFile file = HiveFor(user);
    // Write access to a hive this process cannot write is refused at open,
    // as for a machine key opened for writing without rights.
    if (writeAccess && !file.IsWritable())
        return false;
    bool loaded = false;
    if (file.Snapshot(&loaded)->KeyExists(m_path))
        return true;
    if (!create || !loaded)
        return false;
    return file.Update([this](RegistryHive& h) {
        if (h.KeyExists(m_path))
            return HiveFile::Change::Unchanged;
        return h.CreateKey(m_path) ? HiveFile::Change::Changed : HiveFile::Change::Fail;
    });
}

bool KavoSettings::OpenKey()
{
    if (m_name.empty() || m_path.empty() || !(UsesUser() || UsesMachine()))
        return false;
    const bool userWrite =
        m_mode == kvds::CurrentUserReadWrite || m_mode == kvds::UserThenMachineReadWrite ||
        m_mode == kvds::CurrentUserCreate || m_mode == kvds::UserCreateMachineOpen;
    const bool machineWrite =
        m_mode == kvds::UserThenMachineReadWrite || m_mode == kvds::MachineReadWrite ||
        m_mode == kvds::UserCreateMachineOpen || m_mode == kvds::MachineCreate;
    const bool userCreate =
        m_mode == kvds::CurrentUserCreate || m_mode == kvds::UserCreateMachineOpen;
    if (UsesUser() && !m_userOpen)
        m_userOpen = OpenHive(true, userCreate, userWrite);
    if (UsesMachine() && !m_machineOpen)
        m_machineOpen = OpenHive(false, m_mode == kvds::MachineCreate, machineWrite);

    bool ok = false;
    switch (m_mode) {
    case kvds::UserThenMachineReadWrite:
    case kvds::UserThenMachineRead:
        ok = m_userOpen || m_machineOpen;
        break;
    case kvds::MachineReadWrite:
    case kvds::MachineRead:
    case kvds::MachineCreate:
        ok = m_machineOpen;
        break;
    default:
        ok = m_userOpen;
        break;
    }
    if (ok)
        m_root = UsesUser() ? CurrentUserRoot : LocalMachineRoot;
    return ok;
}

bool KavoSettings::WriteRaw(const std::u16string& name, uint32_t type, const unsigned char* data,
                            size_t size)
{
    if (name.empty() || !OpenKey())
        return false;
    const bool user = PrimaryIsUser();
    if (!(user ? m_userOpen : m_machineOpen) || !PrimaryWritable())
        return false;
    RegistryValue value;
    value.type = type;
    if (size)
        value.data.assign(data, size);
    return HiveFor(user).Update([&](RegistryHive& hive) {
        if (!hive.KeyExists(m_path))
            return HiveFile::Change::Fail; // deleted since it was opened
        const RegistryValue* current = hive.FindValue(m_path, name);
        if (current && *current == value)
            return HiveFile::Change::Unchanged;
        hive.SetValue(m_path, name, value);
        return HiveFile::Change::Changed;
    });
}

bool KavoSettings::ReadRaw(const std::u16string& name, bool (*accept)(uint32_t, size_t),
                           Bytes& data)
{
    if (name.empty() || !OpenKey())
        return false;
    const bool primaryUser = PrimaryIsUser();
    const bool tries[2][2] = {{primaryUser, primaryUser ? m_userOpen : m_machineOpen},
                              {false, HasFallback() && m_machineOpen}};
    for (const auto& t : tries) {
        if (!t[1])
            continue;
        const auto hive = HiveFor(t[0]).Snapshot();
        const RegistryValue* v = hive->FindValue(m_path, name);
        if (v && accept(v->type, v->data.size())) {
            data = v->data;
            return true;
        }
    }
    return false;
}

bool KavoSettings::EnumerateSubKeys(bool user, std::set<std::u16string>& names)
{
    const auto hive = HiveFor(user).Snapshot();
    if (!hive->KeyExists(m_path))
        return false;
    for (auto& n : hive->SubKeyNames(m_path))
        names.insert(std::move(n));
    return true;
}

void KavoSettings::EnumerateValues(bool user, std::set<std::u16string>& names)
{
    const auto hive = HiveFor(user).Snapshot();
    for (auto& n : hive->ValueNames(m_path)) {
        // Names go through a fixed 1024-unit buffer; a longer one ends the pass.
        if (n.size() >= 1024)
            break;
        if (!n.empty())
            names.insert(std::move(n));
    }
}

// ---- names and enumeration ------------------------------------------------

bool KavoSettings::GetName(std::u16string& name)
{
    name = m_name;
    return true;
}

bool KavoSettings::GetName(std::string& name)
{
    name = WideToUtf8(m_name);
    return true;
}

bool KavoSettings::GetSubKeys(uint32_t& count)
{
    return CountNames([this](std::set<std::u16string>& n) { return GetSubKeys(n); }, count);
}

bool KavoSettings::GetSubKeys(std::set<std::u16string>& names)
{
    names.clear();
    if (!OpenKey())
        return false;
    const bool user = PrimaryIsUser();
    if (!(user ? m_userOpen : m_machineOpen) || !EnumerateSubKeys(user, names))
        return false;
    if (HasFallback() && m_machineOpen && !EnumerateSubKeys(false, names))
        return false;
    return true;
}

bool KavoSettings::GetSubKeys(std::set<std::string>& names)
{
    return NarrowNames([this](std::set<std::u16string>& n) { return GetSubKeys(n); }, names);
}

bool KavoSettings::OpenSubKey(const std::u16string& path, kvtl::RefCountedPtr<IKavoSettings>& out)
{
    if (path.empty() || !OpenKey())
        return false;
    const size_t sep = SplitAt(path);
    const std::u16string first = path.substr(0, sep);
    const std::u16string rest =
        sep == std::u16string::npos ? std::u16string() : path.substr(sep + 1);
    auto it = m_children.find(first);
    if (it == m_children.end()) {
        kvtl::RefCountedPtr<IKavoSettings> created;
        if (!OpenSettingsPath(first, m_mode, this, created))
            return false;
        it = m_children.find(first);
        if (it == m_children.end())
            return false;
    }
    if (!rest.empty())
        return it->second->OpenSubKey(rest, out);
    out = it->second.get();
    return true;
}

bool KavoSettings::OpenSubKey(const std::string& path, kvtl::RefCountedPtr<IKavoSettings>& out)
{
    return OpenSubKey(W(path), out);
}

bool KavoSettings::GetValueNames(uint32_t& count)
{
    return CountNames([this](std::set<std::u16string>& n) { return GetValueNames(n); }, count);
}

bool KavoSettings::GetValueNames(std::set<std::u16string>& names)
{
    names.clear();
    if (!OpenKey())
        return false;
    const bool user = PrimaryIsUser();
    if (user ? m_userOpen : m_machineOpen)
        EnumerateValues(user, names);
    if (HasFallback() && m_machineOpen)
        EnumerateValues(false, names);
    return true;
}

bool KavoSettings::GetValueNames(std::set<std::string>& names)
{
    return NarrowNames([this](std::set<std::u16string>& n) { return GetValueNames(n); }, names);
}

// ---- writes ---------------------------------------------------------------

bool KavoSettings::SetValue(const std::u16string& name, int64_t value)
{
    const Bytes data = LittleEndian(uint64_t(value), 8);
    return WriteRaw(name, kvds::RegQword, data.data(), data.size());
}
bool KavoSettings::SetValue(const std::string& name, int64_t value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, int32_t value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::string& name, int32_t value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::u16string& name, uint32_t value)
{
    return SetValue(name, int64_t(uint64_t(value)));
}
bool KavoSettings::SetValue(const std::string& name, uint32_t value)
{
    return SetValue(name, int64_t(uint64_t(value)));
}
bool KavoSettings::SetValue(const std::u16string& name, uint64_t value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::string& name, uint64_t value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::u16string& name, long long value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::string& name, long long value)
{
    return SetValue(name, int64_t(value));
}
bool KavoSettings::SetValue(const std::u16string& name, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const Bytes data = LittleEndian(bits, 4);
    return WriteRaw(name, kvds::RegDword, data.data(), data.size());
}
bool KavoSettings::SetValue(const std::string& name, float value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const Bytes data = LittleEndian(bits, 8);
    return WriteRaw(name, kvds::RegQword, data.data(), data.size());
}
bool KavoSettings::SetValue(const std::string& name, double value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, bool value)
{
    const Bytes data = LittleEndian(value ? 1 : 0, 4);
    return WriteRaw(name, kvds::RegDword, data.data(), data.size());
}
bool KavoSettings::SetValue(const std::string& name, bool value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, const std::string& value)
{
    const std::u16string wide = Utf8ToWide(value);
    // Storing "" for text that is not UTF-8 would silently lose the value.
    if (wide.empty() && !value.empty())
        return false;
    return SetValue(name, wide);
}
bool KavoSettings::SetValue(const std::string& name, const std::string& value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, const std::u16string& value)
{
    Bytes data;
    data.reserve((value.size() + 1) * 2);
    for (char16_t c : value) {
        data += static_cast<unsigned char>(c & 0xFF);
        data += static_cast<unsigned char>(c >> 8);
    }
    data.append(2, 0);
    return WriteRaw(name, kvds::RegSz, data.data(), data.size());
}
bool KavoSettings::SetValue(const std::string& name, const std::u16string& value)
{
    return SetValue(W(name), value);
}
bool KavoSettings::SetValue(const std::u16string& name, const unsigned char* data, uint32_t size)
{
    if (size && !data)
        return false;
    return WriteRaw(name, kvds::RegBinary, data, size);
}
bool KavoSettings::SetValue(const std::string& name, const unsigned char* data, uint32_t size)
{
    return SetValue(W(name), data, size);
}

// ---- reads ----------------------------------------------------------------

bool KavoSettings::GetValue(const std::u16string& name, int64_t& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptInteger, data))
        return false;
    // A 4-byte value is zero-extended.
    value = int64_t(FromLittleEndian(data));
    return true;
}
bool KavoSettings::GetValue(const std::string& name, int64_t& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, int32_t& value)
{
    return ReadInteger(*this, name, value);
}
bool KavoSettings::GetValue(const std::string& name, int32_t& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, uint32_t& value)
{
    return ReadInteger(*this, name, value);
}
bool KavoSettings::GetValue(const std::string& name, uint32_t& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, uint64_t& value)
{
    return ReadInteger(*this, name, value);
}
bool KavoSettings::GetValue(const std::string& name, uint64_t& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, long long& value)
{
    return ReadInteger(*this, name, value);
}
bool KavoSettings::GetValue(const std::string& name, long long& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, float& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptDword, data))
        return false;
    const uint32_t bits = uint32_t(FromLittleEndian(data));
    std::memcpy(&value, &bits, sizeof value);
    return true;
}
bool KavoSettings::GetValue(const std::string& name, float& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, double& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptQword, data))
        return false;
    const uint64_t bits = FromLittleEndian(data);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}
bool KavoSettings::GetValue(const std::string& name, double& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, bool& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptDword, data))
        return false;
    value = FromLittleEndian(data) != 0;
    return true;
}
bool KavoSettings::GetValue(const std::string& name, bool& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, std::string& value)
{
    std::u16string wide;
    if (!GetValue(name, wide))
        return false;
    std::string narrow = WideToUtf8(wide);
    if (narrow.empty() && !wide.empty())
        return false;
    value = std::move(narrow);
    return true;
}
bool KavoSettings::GetValue(const std::string& name, std::string& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, std::u16string& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptString, data))
        return false;
    // The text ends at its terminating zero.
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t c = char16_t(data[i] | (data[i + 1] << 8));
        if (!c)
            break;
        text += c;
    }
    value = std::move(text);
    return true;
}
bool KavoSettings::GetValue(const std::string& name, std::u16string& value)
{
    return GetValue(W(name), value);
}
bool KavoSettings::GetValue(const std::u16string& name, kvtl::MemoryBuffer<unsigned char>& value)
{
    Bytes data;
    if (!ReadRaw(name, AcceptBinary, data))
        return false;
    return value.Assign(data.data(), data.size());
}
bool KavoSettings::GetValue(const std::string& name, kvtl::MemoryBuffer<unsigned char>& value)
{
    return GetValue(W(name), value);
}

// ---- deletion -------------------------------------------------------------

bool KavoSettings::DeleteKey()
{
    m_userOpen = false;
    m_machineOpen = false;
    m_children.clear();
    if (!IsDeletablePath(m_path))
        return false;
    if (m_root != CurrentUserRoot && m_root != LocalMachineRoot)
        return false;
    return HiveFor(m_root == CurrentUserRoot).Update([this](RegistryHive& hive) {
        return hive.DeleteTree(m_path) ? HiveFile::Change::Changed : HiveFile::Change::Fail;
    });
}

bool KavoSettings::DeleteValue(const std::u16string& name)
{
    if (name.empty() || !OpenKey())
        return false;
    const bool user = PrimaryIsUser();
    if (!(user ? m_userOpen : m_machineOpen) || !PrimaryWritable())
        return false;
    return HiveFor(user).Update([&](RegistryHive& hive) {
        return hive.DeleteValue(m_path, name) ? HiveFile::Change::Changed : HiveFile::Change::Fail;
    });
}

bool KavoSettings::DeleteValue(const std::string& name)
{
    return DeleteValue(W(name));
}

// ---- opening paths --------------------------------------------------------

bool OpenSettingsPath(const std::u16string& path, SettingsAccess mode, KavoSettings* parent,
                      kvtl::RefCountedPtr<IKavoSettings>& out)
{
    if (path.empty())
        return false;
    const size_t sep = SplitAt(path);
    const std::u16string first = path.substr(0, sep);
    const std::u16string rest =
        sep == std::u16string::npos ? std::u16string() : path.substr(sep + 1);
    auto* settings = new KavoSettings(first, mode, parent);
    kvtl::RefCountedPtr<IKavoSettings> hold(settings);
    if (!rest.empty())
        return OpenSettingsPath(rest, mode, settings, out);
    if (!settings->OpenKey())
        return false;
    out = settings;
    return true;
}

bool OpenSettings(bool install, bool create, const std::u16string& path, bool readOnly,
                  kvtl::RefCountedPtr<IKavoSettings>& out)
{
    if (path.empty())
        return false;
    SettingsAccess mode;
    if (install)
        mode = create ? kvds::MachineCreate : readOnly ? kvds::MachineRead : kvds::MachineReadWrite;
    else
        mode = create     ? kvds::UserCreateMachineOpen
               : readOnly ? kvds::UserThenMachineRead
                          : kvds::UserThenMachineReadWrite;
    return OpenSettingsPath((install ? u"Install/" : u"Settings/") + path, mode, nullptr, out);
}

bool OpenSettings(bool install, bool create, const std::string& path, bool readOnly,
                  kvtl::RefCountedPtr<IKavoSettings>& out)
{
    if (path.empty())
        return false;
    const std::u16string wide = Utf8ToWide((install ? "Install/" : "Settings/") + path);
    if (wide.empty())
        return false;
    SettingsAccess mode;
    if (install)
        mode = create ? kvds::MachineCreate : readOnly ? kvds::MachineRead : kvds::MachineReadWrite;
    else
        mode = create     ? kvds::UserCreateMachineOpen
               : readOnly ? kvds::UserThenMachineRead
                          : kvds::UserThenMachineReadWrite;
    return OpenSettingsPath(wide, mode, nullptr, out);
}
