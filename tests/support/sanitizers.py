"""Whether the suite runs against the sanitized engine of scripts/asan_tests.sh,
whose runtime reserves terabytes of address space and keeps freed memory in
quarantine: memory caps and resident-size measurements mean nothing there."""
import os

import pytest

UNDER_ADDRESS_SANITIZER = "libasan" in os.environ.get("LD_PRELOAD", "")

skip_under_address_sanitizer = pytest.mark.skipif(
    UNDER_ADDRESS_SANITIZER, reason="AddressSanitizer's runtime owns the address space and the allocator")
