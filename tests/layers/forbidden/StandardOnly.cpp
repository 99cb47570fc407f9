// Core code may include only standard headers.
#include <string>
#include <vector>
