// The other side of program_copy.h: run as "<copy of this test program> --drive STEPS...",
// it starts the program exactly as jingleconv.cpp does (its folder is the copy's folder)
// and carries out the steps on the real widgets, writing what it sees to stdout.
//
// Steps:
//   state          the window's and its controls' state ("key=value" lines after "state")
//   paths          "title=", "folder=" (ProgramFolder) and "path.<Name>=" (TablePath)
//   click          presses BitBtn1 with the widget's own click()
//   answers=A,B..  how to answer the dialogs to come, in order: Yes, No, OK, Escape,
//                  Enter, Close; "Yes>FILE" first saves a picture of the dialog to FILE
//   grab=FILE      saves a picture of the window
//   copy=FROM|TO   copies a file (to mend or spoil a table between two presses)
//   nospace        from now on every write to a file fails as on a full disk
// Every dialog shown is written as one "dialog=" line (see DialogSeen in program_copy.h).
// The window is closed after the last step; the exit code is the program's.
#pragma once

int driveProgram(int stepCount, char** steps);
