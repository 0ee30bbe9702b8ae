/** Joins `first` and the further C strings up to the first null pointer.

    When every further string is empty, no memory is taken and `first` itself
    comes back. Otherwise the result is a new buffer from std::malloc that the
    caller releases with std::free; if that allocation fails, `first` comes
    back. So free the result exactly when it differs from `first`.
    The strings are only read.
*/
const char* strcat_0 (const char* first, ...)
#if defined (__GNUC__) || defined (__clang__)
    __attribute__ ((sentinel))
#endif
    ;
