// No include guard on purpose: included twice around a class, once to set the names aside and
// once to bring them back.
//
// windows.h renames five functions the dialogs call (MessageBox, SetWindowText, GetWindowText,
// SetDlgItemText, GetDlgItemText) to their ...A or ...W form with macros. A toolkit header that
// declares them includes this file before its declarations (TARNWICK_NAMES_RESTORE undefined)
// and again after them (TARNWICK_NAMES_RESTORE defined): the declarations keep the plain names
// whatever came first, and each class adds ...A and ...W members (TARNWICK_RENAMED_MEMBERS) that
// forward to the plain ones, so code compiled after windows.h, where the macros rename every
// call, still reaches the one definition.
#ifndef TARNWICK_NAMES_RESTORE
#pragma push_macro("MessageBox")
#pragma push_macro("SetWindowText")
#pragma push_macro("GetWindowText")
#pragma push_macro("SetDlgItemText")
#pragma push_macro("GetDlgItemText")
#undef MessageBox
#undef SetWindowText
#undef GetWindowText
#undef SetDlgItemText
#undef GetDlgItemText
#else
#pragma pop_macro("GetDlgItemText")
#pragma pop_macro("SetDlgItemText")
#pragma pop_macro("GetWindowText")
#pragma pop_macro("SetWindowText")
#pragma pop_macro("MessageBox")
#undef TARNWICK_NAMES_RESTORE
#endif
