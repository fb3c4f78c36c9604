// Between the page's two programs (bridge.h), through the page's own
// baud51Page (page.html), which both see: the window's program is a script
// of the page, the one below a closure of its own.
mergeInto(LibraryManager.library, {
  baud51_dom_calculated: function() { baud51Page.calculated(null); },
  baud51_dom_held__deps: ['$baud51'],
  baud51_dom_held: function(frequency, frequencyLength, baud, baudLength) {
    baud51Page.calculated([baud51.text(frequency, frequencyLength),
                          baud51.text(baud, baudLength)]);
  },

  baud51_dom_pressed_size: function(which) {
    var fields = baud51Page.pressed;
    return fields ? lengthBytesUTF8(fields[which]) : -1;
  },
  baud51_dom_pressed_copy: function(which, buffer, size) {
    stringToUTF8(baud51Page.pressed[which], buffer, size);
  },
  baud51_dom_pressed_held: function() { return baud51Page.held ? 1 : 0; },

  // Each calculation reaches the area below after the window's own labels
  // are written, outside the press (settings.js).
  baud51_dom_below_ready__deps: ['baud51_dom_settings_later'],
  baud51_dom_below_ready: function() {
    baud51Page.below = _baud51_dom_settings_later;
    if (baud51Page.pressed) _baud51_dom_settings_later();
  },

  // The window's program is a script of the page: its exports are global.
  baud51_dom_open_link: function() { _baud51_open_link(); },
});
