// The About box: the program's name, purpose and version.
#pragma once

class QWidget;

void showAboutBox(QWidget* parent);
