#include <zuvo_core/zuvo_core.cpp>
