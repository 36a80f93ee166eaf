// Placeholder: filled in by the part of the runtime that owns it.
#pragma once
