#pragma once
// The two icons of status panel 0: the document is modified (an orange pencil
// mark on a page) or not (a plain page with a green tick).
#include <QPixmap>

namespace pelm {

QPixmap StatusIcon(bool modified);

}  // namespace pelm
