#include "app/Application.h"
#include "app/OpenAheadStart.h"

int main(int argc, char* argv[])
{
    // Deriving the database key takes a while: it runs while Qt and the window are built.
    stolvar::StartOpeningLastDatabase();
    return stolvar::RunApplication(argc, argv);
}
