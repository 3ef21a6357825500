<?php
// Deployment settings of the update server. The environment variables KC_OFFER_DIR and
// KC_SESSION_DIR, when set (serve.sh, SetEnv, fastcgi_param), win over these values.
return [
    // The folder of offered files (flat; versions.ini inside it is optional).
    'offer_dir' => __DIR__ . '/offer',
    // The product identifier that the launcher filters the table by.
    'product_id' => '10001',
    // Where PHP keeps the sessions (the token); null keeps PHP's session.save_path.
    'session_dir' => null,
    // The zone for "today" in the filename check, e.g. 'Europe/Sofia'; null keeps date.timezone.
    'timezone' => null,
];
