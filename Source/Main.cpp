#include <juce_gui_basics/juce_gui_basics.h>

int main()
{
    return 1;
}
