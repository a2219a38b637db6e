#pragma once

namespace kyvane {

class TfrmChooseFolder;
class TfrmChooseLanguage;
class TfrmConfirm;
class TfrmDatePicker;
class TfrmInputExt;

// The dialogs of the main window, created once at start-up and shown again
// and again.
struct Dialogs
{
    TfrmInputExt* inputExt = nullptr;
    TfrmChooseLanguage* chooseLanguage = nullptr;
    TfrmChooseFolder* chooseFolder = nullptr;
    TfrmConfirm* confirm = nullptr;
    TfrmDatePicker* datePicker = nullptr;
};

} // namespace kyvane
