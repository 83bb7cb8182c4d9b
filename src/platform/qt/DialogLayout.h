#pragma once
#include "platform/qt/DialogUnits.h"

#include <QWidget>

#include <utility>
#include <vector>

struct DialogTemplate;

// Places a template's controls (in template order, made by CreateControl)
// and sizes the dialog window. The units come from the font the controls
// really draw with, the horizontal one widened (DialogWidening.h) until every
// text fits its control. Returns the units used.
DialogBaseUnits LayOutDialog(QWidget& window, const DialogTemplate& t, const std::vector<QWidget*>& controls);
