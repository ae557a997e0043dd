// The progress bar control ("msctls_progress32").
#pragma once

#include "platform/ui/Wnd.h"

namespace win {

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper);
    int SetPos(int position);
    int GetPos();
    int SetStep(int step);
};

}  // namespace win
