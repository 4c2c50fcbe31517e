// Build configuration shared by every nmx header: the export macro of the shared build.
#pragma once

#if defined(NMX_SHARED)
#define NMX_API __attribute__((visibility("default")))
#else
#define NMX_API
#endif
