// POSIX backend
