#include "app/Application.h"

int main(int argc, char* argv[])
{
    return stolvar::RunApplication(argc, argv);
}
