#pragma once

#include "ui/form/frm_main.hpp"
#include "ui/form/list_box.hpp"
#include "ui/form/script_box.hpp"
#include "ui/form/wrap_button.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <array>

namespace hw::test {

/// The controls of a form, found by their objectNames as a tool would find them.
struct Controls
{
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QComboBox *txtName;
    QPushButton *Command1;
    QComboBox *cmbTime, *cmbTask;
    QCheckBox *chkLOS, *chkGlobal, *chkEqual;
    std::array<QLabel *, 12> lblOption;
    std::array<QLineEdit *, 12> txtOption;
    QPushButton *cmdAdd, *cmdRemove;
    ListBox *lstTasks;
    std::array<WrapButton *, 3> cmdGenerate;
    ScriptBox *txtScript;
};

template<class T> T *control(const frmMain &form, const QString &name)
{
    T *found = form.findChild<T *>(name, Qt::FindDirectChildrenOnly);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

inline Controls controls(const frmMain &form)
{
    const auto indexed = [](const char *name, int i) {
        return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
    };
    Controls c {};
    c.Label1 = control<QLabel>(form, QStringLiteral("Label1"));
    c.Label2 = control<QLabel>(form, QStringLiteral("Label2"));
    c.Label3 = control<QLabel>(form, QStringLiteral("Label3"));
    c.Label4 = control<QLabel>(form, QStringLiteral("Label4"));
    c.Label5 = control<QLabel>(form, QStringLiteral("Label5"));
    c.txtName = control<QComboBox>(form, QStringLiteral("txtName"));
    c.Command1 = control<QPushButton>(form, QStringLiteral("Command1"));
    c.cmbTime = control<QComboBox>(form, QStringLiteral("cmbTime"));
    c.cmbTask = control<QComboBox>(form, QStringLiteral("cmbTask"));
    c.chkLOS = control<QCheckBox>(form, QStringLiteral("chkLOS"));
    c.chkGlobal = control<QCheckBox>(form, QStringLiteral("chkGlobal"));
    c.chkEqual = control<QCheckBox>(form, QStringLiteral("chkEqual"));
    for (int i = 0; i < 12; ++i) {
        c.lblOption[static_cast<std::size_t>(i)] = control<QLabel>(form, indexed("lblOption", i));
        c.txtOption[static_cast<std::size_t>(i)] =
            control<QLineEdit>(form, indexed("txtOption", i));
    }
    c.cmdAdd = control<QPushButton>(form, QStringLiteral("cmdAdd"));
    c.cmdRemove = control<QPushButton>(form, QStringLiteral("cmdRemove"));
    c.lstTasks = control<ListBox>(form, QStringLiteral("lstTasks"));
    for (int i = 0; i < 3; ++i)
        c.cmdGenerate[static_cast<std::size_t>(i)] =
            control<WrapButton>(form, indexed("cmdGenerate", i));
    c.txtScript = control<ScriptBox>(form, QStringLiteral("txtScript"));
    return c;
}

} // namespace hw::test
