// Below the window: the chooser of chip families (#chip), the table of
// every setting (#settings), the chosen row's init code (#code) and its copy
// button (#copy). The C++ side decides the words; this draws them.
mergeInto(LibraryManager.library, {
  $baud51Below: {
    pending: false,
    // Row `index` of `section` gets `texts` from its second cell on (the
    // first is the header's word or the radio button), `tag` cells made as
    // needed; only changed texts are written.
    fill: function(section, texts, index, tag) {
      var row = section.rows[index] || section.insertRow();
      if (tag == 'th' && !row.cells.length) {
        row.append(document.createElement('th'));
        row.cells[0].textContent = texts[0];
      }
      var cells = row.cells;
      for (var j = 1; j < texts.length; ++j) {
        // Each cell keeps one text node, whose data is written in place.
        var text = cells[j] ? cells[j].firstChild :
            row.appendChild(document.createElement(tag)).appendChild(
                document.createTextNode(''));
        if (text.data !== texts[j]) text.data = texts[j];
      }
      while (row.cells.length > texts.length) row.deleteCell(-1);
    },
    rows: [],  // per body row: its element, radio, mark and cells' texts
    row: function(index) {
      var tr = document.createElement('tr');
      var radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = 'setting';
      radio.value = index;
      tr.appendChild(document.createElement('td')).append(radio);
      return {tr: tr, radio: radio, mark: '', name: '', texts: [], heads: []};
    },
    wired: false,
    // Wired once for the page's life; each reaches C++ through an exported
    // function that catches whatever is thrown.
    wire: function() {
      if (baud51Below.wired) return;
      baud51Below.wired = true;
      document.getElementById('chip').addEventListener('change', function() {
        _baud51_chip(this.selectedIndex);
      });
      document.getElementById('settings').addEventListener('change',
          function(event) { _baud51_choose(+event.target.value); });
      document.getElementById('copy').addEventListener('click', function() {
        var text = document.getElementById('code').textContent;
        var said = document.getElementById('copied');
        var done = function() { said.textContent = '已复制'; };
        // file:// and old browsers may refuse the clipboard API.
        var fallback = function() {
          var range = document.createRange();
          range.selectNodeContents(document.getElementById('code'));
          getSelection().removeAllRanges();
          getSelection().addRange(range);
          if (document.execCommand('copy')) done();
        };
        said.textContent = '';
        if (navigator.clipboard) {
          navigator.clipboard.writeText(text).then(done, fallback);
        } else {
          fallback();
        }
      });
    },
  },

  baud51_dom_chip_option__deps: ['$baud51', '$baud51Below'],
  baud51_dom_chip_option: function(label, labelLength) {
    baud51Below.wire();
    var option = document.createElement('option');
    option.textContent = baud51.text(label, labelLength);
    document.getElementById('chip').append(option);
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

  // `table`: a header line, then per row its mark's key, its setting's
  // label (its radio button's name) and its cells, all separated by tabs. Each row starts with a radio button that chooses it.
  // Rows already there are written over rather than made again: a table of
  // every family has hundreds. Their cells' text nodes are kept in arrays,
  // since the DOM's live row and cell collections cost more to walk.
  baud51_dom_settings__deps: ['$baud51', '$baud51Below'],
  baud51_dom_settings: function(caption, captionLength, table, tableLength) {
    var lines = baud51.text(table, tableLength).split('\n');
    var head = lines[0].split('\t');
    var element = document.getElementById('settings');
    element.caption.textContent = baud51.text(caption, captionLength);
    baud51Below.fill(element.tHead, ['选用'].concat(head), 0, 'th');
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
      if (row.radio.checked !== (count == 0)) row.radio.checked = count == 0;
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
    document.getElementById('below').hidden = false;
  },

  baud51_dom_code__deps: ['$baud51'],
  baud51_dom_code: function(text, textLength, code) {
    var element = document.getElementById('code');
    element.textContent = baud51.text(text, textLength);
    element.className = code ? '' : 'refused';
    document.getElementById('copy').disabled = !code;
    document.getElementById('copied').textContent = '';
  },
});
