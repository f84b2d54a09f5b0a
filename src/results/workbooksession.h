#pragma once

// The output workbook as the run knows it. The spreadsheet keeps the workbook open for the
// user; the run remembers that it is attached to it and the row the next exported record
// goes to, so repeated exports continue below the previous ones.

namespace pikotel {

struct WorkbookSession {
    // From a successful open until a failed export, a failed or repeated open, or a search
    // screen finding the workbook closed.
    bool attached = false;
    int nextRow = 0;
    // The last row the open workbook's sheet has.
    int lastRow = 0;
};

} // namespace pikotel
