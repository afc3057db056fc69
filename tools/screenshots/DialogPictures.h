#pragma once
// The dialogs as the documentation pictures them: each function shows one
// dialog (modelessly, so that it can be grabbed) in a typical state and
// returns it; HideDialog puts it away again.

class QWidget;

QWidget* ShowSettingsForPicture();
QWidget* ShowConfigForPicture();
QWidget* ShowSyntaxTestForPicture();
QWidget* ShowCreditCheckerForPicture();
QWidget* ShowAboutForPicture();
void HideDialog(QWidget* dialog);
