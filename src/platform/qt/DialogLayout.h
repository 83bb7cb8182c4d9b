#pragma once
#include "platform/qt/DialogUnits.h"

#include <QWidget>

#include <utility>
#include <vector>

struct DialogTemplate;

// Places a template's controls (in template order, made by CreateControl)
// and sizes the dialog window. The units come from the font the controls
// really draw with. A face whose average letter is narrow for its capitals,
// digits and punctuation would clip texts laid out for another face: then the
// horizontal unit grows until every text fits its control, so the dialog
// widens and keeps its layout. Returns the units used.
DialogBaseUnits LayOutDialog(QWidget& window, const DialogTemplate& t, const std::vector<QWidget*>& controls);

// Whether a control's text fits it: a label's wrapped lines its height, a
// button's text its contents, a group box's title its width. Controls
// without text always fit.
bool TextFitsControl(const QWidget& control);
