// Settings: the options of the window in the settings file, and the "Load at Startup" value.
#include "app/uniMain.h"

#include "app/StartupValue.h"
#include "platform/IniFile.h"
#include "shell/CheckListBox.h"
#include "shell/MessageBox.h"
#include "ui_uniMain.h"

#include <algorithm>

namespace wv {

namespace {
const QString kSection = QStringLiteral("General");
// A damaged settings file may claim any count; more local addresses than this are not read.
constexpr int kMaxCheckedItems = 1024;

// An auto-exclusive radio button refuses to be cleared directly.
void setRadioUnchecked(QRadioButton* button) {
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}
} // namespace

void TfrmMain::LoadAll() {
    try {
        IniFile ini(iniPath_);
        startMinimized_ = ini.ReadBool(kSection, QStringLiteral("MinimizeAtStartup"), true);
        const int count = ini.ReadInteger(kSection, QStringLiteral("CheckedCount"), 0);
        // The two options act as one radio group: setting one clears the other, clearing one
        // leaves the other alone. rbLocalIP is read second, so (1, 1) ends on "Local IP".
        const bool list = ini.ReadBool(kSection, QStringLiteral("rbList"), true);
        if (list)
            ui_->rbList->setChecked(true);
        else
            setRadioUnchecked(ui_->rbList);
        const bool localIP = ini.ReadBool(kSection, QStringLiteral("rbLocalIP"), false);
        if (localIP)
            ui_->rbLocalIP->setChecked(true);
        else
            setRadioUnchecked(ui_->rbLocalIP);
        const int n = std::min(count, kMaxCheckedItems);
        for (int i = 0; i < n; ++i)
            ui_->clbIP->AddChecked(
                ini.ReadString(kSection, QStringLiteral("CheckedItems_") + QString::number(i),
                               QStringLiteral("Error")));
        const QSignalBlocker quiet(ui_->cbNotifyOnChange);
        ui_->cbNotifyOnChange->setChecked(
            ini.ReadBool(kSection, QStringLiteral("NotifyOnChange"), false));
    } catch (...) {
        MessageBox::show(QStringLiteral("Error in TfrmMain.LoadAll"));
    }
}

void TfrmMain::SaveAll() {
    try {
        IniFile ini(iniPath_);
        ini.WriteBool(kSection, QStringLiteral("MinimizeAtStartup"),
                      ui_->cbMinimizeAtStartup->isChecked());
        const QStringList& checked = ui_->clbIP->CheckedItems();
        ini.WriteInteger(kSection, QStringLiteral("CheckedCount"), int(checked.size()));
        ini.WriteBool(kSection, QStringLiteral("rbLocalIP"), ui_->rbLocalIP->isChecked());
        ini.WriteBool(kSection, QStringLiteral("rbList"), ui_->rbList->isChecked());
        for (int i = 0; i < checked.size(); ++i)
            ini.WriteString(kSection, QStringLiteral("CheckedItems_") + QString::number(i),
                            checked.at(i));
        ini.WriteBool(kSection, QStringLiteral("NotifyOnChange"),
                      ui_->cbNotifyOnChange->isChecked());
    } catch (...) {
        MessageBox::show(QStringLiteral("Error in TfrmMain.SaveAll"));
    }
}

void TfrmMain::cbStartupClick() {
    LoadAtStartup(env_.runKeys, env_.exeName, ui_->cbStartup->isChecked());
}

} // namespace wv
