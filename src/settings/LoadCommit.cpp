// The settings dialog's load from the registry (Load) and its commit on O K (OnOk): both walk the
// settings layout in its order and hand each value to the bindings of the pages that hold it.
#include "settings/LoadCommit.h"

#include <optional>

#include "settings/IniStore.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsLayout.h"
#include "settings/ValueBinding.h"
#include "base/AppError.h"
#include "base/FileSystem.h"

namespace {
constexpr wchar_t kAutostartSetting[] = L"StartupOnOff";

// Passes the commit's writes on to the store and keeps what the autostart follows.
class CommitWriter : public IniWriter {
public:
    explicit CommitWriter(IniStore& store) : store_(store) {}
    void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) override
    {
        store_.WriteInteger(section, ident, value);
    }
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) override
    {
        if (ident == kAutostartSetting) {
            startWithWindows = value;
        }
        store_.WriteBool(section, ident, value);
    }
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override
    {
        store_.WriteString(section, ident, value);
    }
    bool startWithWindows = false;

private:
    IniStore& store_;
};

void CommitAutostart(bool startWithWindows, const RegistryKeyOpener& openKey)
{
    IniStore machine(HKEY_LOCAL_MACHINE, L"", openKey);
    if (startWithWindows) {
        machine.WriteString(kAutostartSection, kAutostartValue, AutostartCommand());
    } else {
        machine.DeleteValue(kAutostartSection, kAutostartValue);
    }
}
} // namespace

std::wstring AutostartCommand()
{
    std::wstring path = OwnFilePath();
    path.erase(path.find_last_of(L'\\') + 1);
    return L"\"" + path + kCompanionFileName + L"\"";
}

void SettingsDialog::Load()
{
    try {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, openKey_);
        for (const SettingDef& def : SettingsLayout()) {
            for (const ValueBinding& binding : Bindings()) {
                if (binding.name == def.name) {
                    binding.control->Load(store, def);
                }
            }
        }
    } catch (const AppError& error) {
        // A value of the wrong type ends the load there; what was read before it stays.
        Errors().Report(error.Message());
        return;
    }
    LoadNotes notes{Errors()};
    const BoundControl* finished = nullptr;
    for (const ValueBinding& binding : Bindings()) {
        // The parts of one picker follow each other; the picker is finished once.
        if (binding.control.get() != finished) {
            finished = binding.control.get();
            binding.control->Finish(notes);
        }
    }
    for (auto& page : pages_) {
        page->OnLoaded();
    }
}

void SettingsDialog::OnOk()
{
    bool startWithWindows = false;
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, openKey_);
        CommitWriter writer(store);
        for (const SettingDef& def : SettingsLayout()) {
            for (const ValueBinding& binding : Bindings()) {
                if (binding.name == def.name) {
                    binding.control->Commit(writer, def);
                }
            }
        }
        startWithWindows = writer.startWithWindows;
    }
    CommitAutostart(startWithWindows, openKey_);
    ShowWindow(hwnd_, SW_HIDE);
}
