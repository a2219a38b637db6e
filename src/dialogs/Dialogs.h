#pragma once

namespace kyvane {

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
    // The folder chooser takes its place here, between the language dialog
    // and the confirmation, in the order of creation.
    TfrmConfirm* confirm = nullptr;
    TfrmDatePicker* datePicker = nullptr;
};

} // namespace kyvane
