#pragma once

// The maker's texts: the about box shows them and the version resource carries them. A change
// is made here and nowhere else.
#define SCOURLY_MAKER           "Orvane"
#define SCOURLY_NOTICE          "Copyright (C) 2026 Orvane"
#define SCOURLY_CONTACT_ADDRESS "scourly@orvane.example"
#define SCOURLY_WEB_PAGE        "https://orvane.example/scourly/"
