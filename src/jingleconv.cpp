// The program: the conversion form as the main window, until it is closed.
#include "Main.h"

int main() {
    ui::Application->Initialize();
    ui::Application->CreateForm(Form1);
    ui::Application->Run();
    return 0;
}
