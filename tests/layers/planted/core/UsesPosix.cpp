// Core code may not include OS headers.
#include <string>
#include <unistd.h>
