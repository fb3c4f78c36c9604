// Below the window: the language, chip family and tolerance (#lang, #chip,
// #tolerance), the table of every setting (#settings) or why the fields
// could not be read (#refusal), the chosen row's working (#working) and
// init code (#code, #code-lang, #copy), the standard rates (#rates), the
// crystal chooser (#crystal-rates, #crystals-go, #crystals), the ticks
// (#period, #tick-code), the delay (#delay, #delay-message, #delay-code,
// #delay-copy) and the link (#copy-link). The C++ side decides the words; this draws them, always as
// text, never as markup.
mergeInto(LibraryManager.library, {
  $baud51Below: {
    pending: false,
    words: {},  // words the script shows itself, by id
    // Row `index` of `section` gets `texts`, `tag` cells made as needed;
    // only changed texts are written.
    fill: function(section, texts, index, tag) {
      var row = section.rows[index] || section.insertRow();
      var cells = row.cells;
      for (var j = 0; j < texts.length; ++j) {
        // Each cell keeps one text node, whose data is written in place.
        var text = cells[j] ? cells[j].firstChild :
            row.appendChild(document.createElement(tag)).appendChild(
                document.createTextNode(''));
        if (text.data !== texts[j]) text.data = texts[j];
      }
      while (row.cells.length > texts.length) row.deleteCell(-1);
    },
    rows: [],  // per body row: its element, radio, mark and cells' texts
    // A body row of a plain table (baud51_dom_table): a heading across
    // `heads` columns, or `count` cells each headed by its column where the
    // rows reflow. Its text nodes are kept on it, to be written over.
    tableRow: function(group, heads, count) {
      var row = document.createElement('tr');
      row.baud51Group = group;
      row.baud51Texts = [];
      if (group) {
        var th = row.appendChild(document.createElement('th'));
        th.colSpan = heads;
        th.scope = 'rowgroup';
        row.baud51Texts.push(th.appendChild(document.createTextNode('')));
        return row;
      }
      for (var j = 0; j < count; ++j) {
        var cell = row.appendChild(document.createElement('td'));
        cell.setAttribute('data-label', heads[j] || '');
        row.baud51Texts.push(cell.appendChild(document.createTextNode('')));
      }
      return row;
    },
    row: function(index) {
      var tr = document.createElement('tr');
      var radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = 'setting';
      // Out of the form state saved with each write of the address: every
      // family's tables have hundreds of buttons, and the link keeps the
      // choice.
      radio.autocomplete = 'off';
      radio.value = index;
      tr.appendChild(document.createElement('td')).append(radio);
      return {tr: tr, radio: radio, mark: '', name: '', texts: [], heads: []};
    },
    say: function(id, word) {
      document.getElementById(id).textContent = baud51Below.words[word] || '';
    },
    // `text` into the clipboard; `done` once it is there. file:// and old
    // browsers may refuse the clipboard API: then through a selection.
    copy: function(text, node, done) {
      var fallback = function() {
        var hidden = node.hidden;
        node.hidden = false;  // a hidden node has nothing to select
        var range = document.createRange();
        range.selectNodeContents(node);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
        if (document.execCommand('copy')) done();
        node.hidden = hidden;
      };
      if (navigator.clipboard) {
        navigator.clipboard.writeText(text).then(done, fallback);
      } else {
        fallback();
      }
    },
    wired: false,
    // Wired once for the page's life; each reaches C++ through an exported
    // function that catches whatever is thrown.
    wire: function() {
      if (baud51Below.wired) return;
      baud51Below.wired = true;
      var on = function(id, type, handler) {
        document.getElementById(id).addEventListener(type, handler);
      };
      on('chip', 'change', function() { _baud51_chip(this.selectedIndex); });
      on('peer', 'change', function() { _baud51_peer(this.selectedIndex); });
      on('lang', 'change', function() {
        _baud51_language(this.selectedIndex);
      });
      on('code-lang', 'change', function() {
        _baud51_code(this.selectedIndex);
      });
      on('tolerance', 'change', function() { _baud51_tolerance(); });
      on('crystals-form', 'submit', function(event) {
        event.preventDefault();
        _baud51_crystals();
      });
      on('rates-box', 'toggle', function() {
        if (this.open) _baud51_rates();
      });
      on('settings', 'change', function(event) {
        _baud51_choose(+event.target.value);
      });
      on('copy', 'click', function() {
        var code = document.getElementById('code');
        document.getElementById('copied').textContent = '';
        baud51Below.copy(code.textContent, code, function() {
          baud51Below.say('copied', 'said-copied');
        });
      });
      on('period', 'change', function() { _baud51_period(); });
      on('tick-copy', 'click', function() {
        var code = document.getElementById('tick-code');
        document.getElementById('tick-copied').textContent = '';
        baud51Below.copy(code.textContent, code, function() {
          baud51Below.say('tick-copied', 'said-copied');
        });
      });
      on('delay', 'change', function() { _baud51_delay(); });
      on('delay-copy', 'click', function() {
        var code = document.getElementById('delay-code');
        document.getElementById('delay-copied').textContent = '';
        baud51Below.copy(code.textContent, code, function() {
          baud51Below.say('delay-copied', 'said-copied');
        });
      });
      on('copy-link', 'click', function() {
        var said = document.getElementById('link-copied');
        said.textContent = '';
        baud51Below.copy(location.href, document.getElementById('link-text'),
                         function() {
                           baud51Below.say('link-copied', 'said-link-copied');
                         });
      });
    },
  },

  baud51_dom_word__deps: ['$baud51', '$baud51Below'],
  baud51_dom_word: function(id, idLength, text, textLength) {
    baud51Below.wire();
    id = baud51.text(id, idLength);
    text = baud51.text(text, textLength);
    var element = document.getElementById(id);
    if (element) {
      element.textContent = text;
    } else {
      baud51Below.words[id] = text;
    }
  },

  baud51_dom_options__deps: ['$baud51'],
  baud51_dom_options: function(id, idLength, labels, labelsLength) {
    var select = baud51.el(id, idLength);
    var lines = baud51.text(labels, labelsLength).split('\n');
    lines.pop();
    for (var i = 0; i < lines.length; ++i) {
      var option = select.options[i] || select.appendChild(
          document.createElement('option'));
      option.textContent = lines[i];
    }
    while (select.options.length > lines.length) {
      select.options[lines.length].remove();
    }
  },

  // The language below the window, for readers and the browser's fonts.
  baud51_dom_below_lang__deps: ['$baud51'],
  baud51_dom_below_lang: function(tag, tagLength) {
    document.getElementById('below').lang = baud51.text(tag, tagLength);
  },

  baud51_dom_select__deps: ['$baud51'],
  baud51_dom_select: function(id, idLength, index) {
    baud51.el(id, idLength).selectedIndex = index;
  },

  baud51_dom_browser_chinese: function() {
    return /^zh\b/i.test(navigator.language || '') ? 1 : 0;
  },

  baud51_dom_set_value__deps: ['$baud51'],
  baud51_dom_set_value: function(id, idLength, text, textLength) {
    baud51.el(id, idLength).value = baud51.text(text, textLength);
  },

  // The fragment the page was opened with, kept on first reading: the
  // window's program reads it too, and has no baud51Below.
  $baud51Link: function(key) {
    if (!baud51Link.opened) {
      baud51Link.opened = new URLSearchParams(location.hash.slice(1));
    }
    return baud51Link.opened.get(key);
  },
  baud51_dom_link_size__deps: ['$baud51', '$baud51Link'],
  baud51_dom_link_size: function(key, keyLength) {
    var value = baud51Link(baud51.text(key, keyLength));
    return value === null ? -1 : lengthBytesUTF8(value);
  },
  baud51_dom_link_copy__deps: ['$baud51', '$baud51Link'],
  baud51_dom_link_copy: function(key, keyLength, buffer, size) {
    stringToUTF8(baud51Link(baud51.text(key, keyLength)), buffer, size);
  },
  baud51_dom_link_forget__deps: ['$baud51Link'],
  baud51_dom_link_forget: function() { baud51Link.opened = null; },

  // `pairs`: a key, a tab and a value per line. Written as the address's
  // fragment without a new history entry.
  baud51_dom_link__deps: ['$baud51'],
  baud51_dom_link: function(pairs, pairsLength) {
    var params = new URLSearchParams();
    baud51.text(pairs, pairsLength).split('\n').forEach(function(line) {
      var tab = line.indexOf('\t');
      if (tab > 0) params.append(line.slice(0, tab), line.slice(tab + 1));
    });
    history.replaceState(history.state, '', '#' + params.toString());
    document.getElementById('link-text').textContent = location.href;
  },

  // After the window's own labels are written, outside the press: many
  // presses before it runs make one update, of the last one.
  baud51_dom_settings_later__deps: ['$baud51Below'],
  baud51_dom_settings_later: function() {
    if (baud51Below.pending) return;
    baud51Below.pending = true;
    setTimeout(function() {
      baud51Below.pending = false;
      var start = performance.now();
      _baud51_settings();
      performance.measure('baud51-settings', {start: start});
    }, 0);
  },

  // `table`: a header line (the chooser's column first), then per row its
  // mark's key, its setting's label (its radio button's name) and its
  // cells, all separated by tabs. Each row starts with a radio button that
  // chooses it; row `chosen`'s is checked. Rows already there are written
  // over rather than made again: a table of every family has hundreds.
  // Their cells' text nodes are kept in arrays, since the DOM's live row
  // and cell collections cost more to walk.
  baud51_dom_settings__deps: ['$baud51', '$baud51Below'],
  baud51_dom_settings: function(caption, captionLength, table, tableLength,
                                chosen) {
    var lines = baud51.text(table, tableLength).split('\n');
    var head = lines[0].split('\t');
    var element = document.getElementById('settings');
    element.caption.textContent = baud51.text(caption, captionLength);
    baud51Below.fill(element.tHead, head, 0, 'th');
    head = head.slice(1);
    var body = element.tBodies[0];
    var rows = baud51Below.rows;
    var count = 0;
    for (var i = 1; i < lines.length && lines[i]; ++i, ++count) {
      var cells = lines[i].split('\t');
      var row = rows[count] || (rows[count] = baud51Below.row(count));
      if (row.mark !== cells[0]) row.tr.className = row.mark = cells[0];
      if (row.name !== cells[1]) {
        row.radio.setAttribute('aria-label', row.name = cells[1]);
      }
      if (row.radio.checked !== (count == chosen)) {
        row.radio.checked = count == chosen;
      }
      var texts = row.texts, heads = row.heads;
      for (var j = 2; j < cells.length; ++j) {
        var text = texts[j - 2] || (texts[j - 2] = row.tr.appendChild(
            document.createElement('td')).appendChild(
            document.createTextNode('')));
        if (text.data !== cells[j]) text.data = cells[j];
        // Each cell's column, which heads it where the rows reflow.
        if (heads[j - 2] !== head[j - 2]) {
          text.parentNode.setAttribute('data-label', heads[j - 2] = head[j - 2]);
        }
      }
      while (texts.length > cells.length - 2) {
        texts.pop().parentNode.remove();
        heads.pop();
      }
      if (row.tr.parentNode !== body) body.append(row.tr);
    }
    while (rows.length > count) rows.pop().tr.remove();
    document.getElementById('refusal').hidden = true;
    document.getElementById('results').hidden = false;
    document.getElementById('below').hidden = false;
  },

  // In place of the table, working and code: why the fields were not read.
  baud51_dom_refusal__deps: ['$baud51'],
  baud51_dom_refusal: function(text, textLength) {
    var refusal = document.getElementById('refusal');
    refusal.textContent = baud51.text(text, textLength);
    refusal.hidden = false;
    document.getElementById('results').hidden = true;
    document.getElementById('below').hidden = false;
  },

  baud51_dom_working__deps: ['$baud51'],
  baud51_dom_working: function(text, textLength) {
    document.getElementById('working').textContent =
        baud51.text(text, textLength);
  },

  baud51_dom_tick_code__deps: ['$baud51'],
  baud51_dom_tick_code: function(text, textLength, code) {
    var element = document.getElementById('tick-code');
    element.textContent = baud51.text(text, textLength);
    element.className = code ? '' : 'refused';
    element.hidden = !element.textContent;  // the status line says why
    document.getElementById('tick-copy').disabled = !code;
    document.getElementById('tick-copied').textContent = '';
  },

  // The delay's code, or (with no code) why none: both only ever as text.
  baud51_dom_delay__deps: ['$baud51'],
  baud51_dom_delay: function(message, messageLength, code, codeLength) {
    var said = document.getElementById('delay-message');
    // A status line as the others are, taking no room while it is empty.
    said.textContent = baud51.text(message, messageLength);
    var element = document.getElementById('delay-code');
    element.textContent = baud51.text(code, codeLength);
    element.hidden = !element.textContent;
    document.getElementById('delay-copy').disabled = !element.textContent;
    document.getElementById('delay-copied').textContent = '';
  },

  baud51_dom_code__deps: ['$baud51'],
  baud51_dom_code: function(text, textLength, code) {
    var element = document.getElementById('code');
    element.textContent = baud51.text(text, textLength);
    element.className = code ? '' : 'refused';
    document.getElementById('copy').disabled = !code;
    document.getElementById('copied').textContent = '';
  },

  // A plain table: a header line, then per row its mark's key (or "group"
  // for a heading across the row) and its cells, separated by tabs; an
  // empty `table` leaves only the caption, which then says why. While the
  // header stays, rows already there are written over rather than made
  // again: the tick table of every family has hundreds.
  baud51_dom_table__deps: ['$baud51', '$baud51Below'],
  baud51_dom_table: function(id, idLength, caption, captionLength, table,
                             tableLength) {
    var element = baud51.el(id, idLength);
    element.caption.textContent = baud51.text(caption, captionLength);
    var lines = baud51.text(table, tableLength).split('\n');
    var head = element.tHead;
    var body = element.tBodies[0];
    if (head.baud51Line !== lines[0]) {
      head.baud51Line = lines[0];
      head.textContent = '';
      body.textContent = '';
      if (!lines[0]) return;
      var header = head.insertRow();
      lines[0].split('\t').forEach(function(word) {
        header.appendChild(document.createElement('th')).textContent = word;
      });
    }
    if (!lines[0]) return;
    var heads = lines[0].split('\t');
    var rows = body.rows;
    var count = 0;
    for (var i = 1; i < lines.length && lines[i]; ++i, ++count) {
      var cells = lines[i].split('\t');
      var group = cells[0] == 'group';
      var row = rows[count];
      if (!row || row.baud51Group !== group ||
          (!group && row.baud51Texts.length !== cells.length - 1)) {
        var fresh = baud51Below.tableRow(
            group, group ? heads.length : heads, cells.length - 1);
        row ? body.replaceChild(fresh, row) : body.appendChild(fresh);
        row = fresh;
      }
      if (!group && row.className !== cells[0]) row.className = cells[0];
      var texts = row.baud51Texts;
      for (var j = 1; j < cells.length; ++j) {
        if (texts[j - 1] && texts[j - 1].data !== cells[j]) {
          texts[j - 1].data = cells[j];
        }
      }
    }
    while (rows.length > count) body.deleteRow(-1);
  },
});
