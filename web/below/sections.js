// The sections' own state below the window: a table's rows made choosable
// (the tick table, as the settings table is), each field's status line, and
// a new address fragment taken as a link. Texts only ever as text.
mergeInto(LibraryManager.library, {
  $baud51Sections: {
    wired: false,
    // Wired once for the page's life; each reaches C++ through an exported
    // function that catches whatever is thrown.
    wire: function() {
      if (baud51Sections.wired) return;
      baud51Sections.wired = true;
      document.getElementById('ticks').addEventListener('change', function(
          event) {
        if (event.target.name == 'tick') _baud51_tick(+event.target.value);
      });
      // Our own writes replace the state and fire nothing; a fragment
      // typed, pasted or followed is a link to open.
      addEventListener('hashchange', function() { _baud51_link_changed(); });
    },
  },

  // The table `id` as baud51_dom_table wrote it gets a first column of
  // radio buttons named `name`, headed `head`; each is labelled by its
  // row's first cell, and row `chosen` is checked. Rows written over keep
  // their buttons.
  baud51_dom_chooser__deps: ['$baud51', '$baud51Sections'],
  baud51_dom_chooser: function(id, idLength, name, nameLength, head,
                               headLength, chosen) {
    baud51Sections.wire();
    var table = baud51.el(id, idLength);
    name = baud51.text(name, nameLength);
    var header = table.tHead.rows[0];
    if (!header) return;
    if (!header.baud51Chooser) {
      header.baud51Chooser = header.insertBefore(
          document.createElement('th'), header.firstChild);
    }
    header.baud51Chooser.textContent = baud51.text(head, headLength);
    var rows = table.tBodies[0].rows;
    for (var i = 0; i < rows.length; ++i) {
      var radio = rows[i].baud51Radio;
      if (!radio) {
        radio = rows[i].baud51Radio = document.createElement('input');
        radio.type = 'radio';
        radio.autocomplete = 'off';  // as the settings' buttons
        rows[i].insertBefore(document.createElement('td'), rows[i].firstChild)
            .append(radio);
      }
      radio.name = name;
      radio.value = i;
      if (radio.checked !== (i == chosen)) radio.checked = i == chosen;
      var label = rows[i].baud51Texts[0].data;
      if (radio.getAttribute('aria-label') !== label) {
        radio.setAttribute('aria-label', label);
      }
    }
  },

  // The status line `id` says `text`; a reader hears it as it changes.
  baud51_dom_status__deps: ['$baud51', '$baud51Sections'],
  baud51_dom_status: function(id, idLength, text, textLength) {
    baud51Sections.wire();
    var line = baud51.el(id, idLength);
    text = baud51.text(text, textLength);
    if (line.textContent !== text) line.textContent = text;
  },

  // The field marked as refused, the line `line` saying why, or not.
  baud51_dom_invalid__deps: ['$baud51', '$baud51Sections'],
  baud51_dom_invalid: function(field, fieldLength, line, lineLength,
                               invalid) {
    baud51Sections.wire();
    var input = baud51.el(field, fieldLength);
    if (invalid) {
      input.setAttribute('aria-invalid', 'true');
      input.setAttribute('aria-describedby', baud51.text(line, lineLength));
    } else {
      input.removeAttribute('aria-invalid');
      input.removeAttribute('aria-describedby');
    }
  },
});
