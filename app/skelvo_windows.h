#pragma once

#include "app/skelvo_main_form.h"
#include "calc/preference_form.h"
#include "db/db_setting_form.h"
#include "entry/input_form.h"

// The four windows that live for the whole run, created in this order: the
// main window first, since it fixes the settings file that the database
// settings window reads its connection from.
struct SkelvoWindows
{
    explicit SkelvoWindows(const QString& iniFileName)
        : mainForm(iniFileName), dbSettingForm(mainForm.IniFileName, &mainForm),
          inputForm(&mainForm), preferenceForm(&mainForm)
    {
        mainForm.setForms(&dbSettingForm, &inputForm, &preferenceForm);
    }

    TSkelvoMainForm mainForm;
    TdBSettingForm dbSettingForm;
    TInputForm inputForm;
    TPreferenceForm preferenceForm;
};
