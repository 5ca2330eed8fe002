// The uninstall's rule for the files the user protected.
#include "uninstall/file_protection.h"

int IsProtectedByUser(uint32_t attributes)
{
    return (attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem)) != 0;
}

int IsUnprotectedFile(uint32_t attributes)
{
    return !IsProtectedByUser(attributes) && !(attributes & kAttributeDirectory);
}
