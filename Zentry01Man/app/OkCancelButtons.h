#pragma once
// The OK and "ｷｬﾝｾﾙ" buttons of the utility's dialogs: OK is the default
// button and runs ok inside the exception guard; ｷｬﾝｾﾙ (and Esc) closes the
// dialog with nothing written.
#include <functional>

class QDialog;
class QDialogButtonBox;

QDialogButtonBox* OkCancelButtons(QDialog* dialog, std::function<void()> ok);
